#pragma once
// The main window's commands as its buttons, the results list and the devices
// run them.

#include "app/pages/command_id.h"

namespace orv {

class WindowCommands {
public:
    // Runs a command now.
    virtual void OnCommand(CommandId id) = 0;
    // The tab control switched pages.
    virtual void OnTabChange() = 0;
    virtual void OnOpenImage() = 0;
    virtual void OnSaveImage() = 0;
    virtual void SaveResultsCsv() = 0;
    virtual void DeleteAllResults() = 0;
    virtual void OnExit() = 0;
    virtual void ShowAbout() = 0;
    // The report button: the workbook in the temporary directory, opened in
    // the desktop's spreadsheet application.
    virtual void OnReport() = 0;

    // Results list notifications.
    virtual void OnListClick() = 0;
    virtual void OnListRightDoubleClick() = 0;
    virtual void OnListDoubleClick() = 0;
    virtual void OnListRightClick() = 0;

    // Runs a DeviceEvent code now; always 0.
    virtual int OnDeviceEvent(int code, int argument) = 0;

protected:
    ~WindowCommands() = default;
};

}  // namespace orv
