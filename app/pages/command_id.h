#pragma once
// The main window's control identifiers kept for the commands that are posted
// or pending.

namespace orv {

enum class CommandId : int {
    None = 0,
    Exit = 1,
    Cancel = 2,
    Report = 3,
    DeleteAll = 4,
    OpenImage = 1000,
    SaveCsv = 1003,
    SaveImage = 1005,
    Overview = 1016,
};

}  // namespace orv
