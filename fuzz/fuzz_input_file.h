#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The loaders read paths, so each input is written to one scratch file first.
const std::string& writeFuzzInput(const uint8_t* data, size_t size);
