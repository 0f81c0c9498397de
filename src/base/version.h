#pragma once

constexpr const char* kVersionText = "2.3.5";
