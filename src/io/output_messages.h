#pragma once

// How a writer says that its output failed. Each program chooses for its
// writers; nothing changes it behind them.
enum class OutputMessages {
  // As `vorlinde` always has: "Can not open file [<path>]" on standard
  // output, "writting error" on standard error.
  Tool,
  // "ERROR: Can not open <path>: <reason>" and "ERROR: Can not write <path>:
  // <reason>" on standard error, the reason being the system's.
  Explained,
};
