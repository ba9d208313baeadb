#pragma once
// What the pages and the overview need of the main window around them: the
// document, the tab control, the view's zoom and scroll, the live view and
// the window's size, and the commands they post. The main window implements
// it; pages keep a pointer to it.

#include <QPoint>
#include <QSize>
#include <QString>

#include "app/pages/command_id.h"
#include "measure/language.h"
#include "view/view_state.h"

class QPushButton;
class QWidget;

namespace orv {

class MeasureDocument;
class UiPrompter;
class ViewZoom;

class PageHost {
public:
    // The window widens by this to show the live view beside the column.
    static constexpr int kLiveViewAllowance = 661;

    virtual MeasureDocument &document() const = 0;
    virtual Language language() const = 0;
    // Language of kind names and unit suffixes in rows (English when any window switched).
    virtual Language textLanguage() const = 0;
    // Every message, question and chooser of the window and its pages.
    virtual UiPrompter &prompter() const = 0;

    // --- the tab control ---------------------------------------------------------------
    virtual int currentTab() const = 0;
    // Selects a tab in the tab control (as the image page's Open button does).
    virtual void SelectTab(int index) = 0;
    // The tool palette shows the current tool again.
    virtual void RefreshToolButtons() = 0;

    // --- the view ------------------------------------------------------------------------
    virtual ViewZoom &zoom() = 0;
    virtual const ViewGeometry &view() const = 0;
    virtual QPoint ViewToImage(QPoint viewPoint) const = 0;
    virtual QSize imageSize() const = 0;
    virtual ViewState viewState() const = 0;
    virtual void setViewState(ViewState state) = 0;
    // ViewState::Rebuild and repaint the view (the usual end of every change).
    virtual void RebuildView() = 0;
    // Repaint the view without rebuilding (overview scrolling, provisional bars).
    virtual void UpdateView() = 0;
    virtual void SetZoom(int zoomX, int zoomY) = 0;  // resets the scroll, marks a rebuild
    virtual void SetScroll(QPoint scroll) = 0;
    // Sizes the window and the view to the image and zoom; places the overview.
    virtual void LayoutView() = 0;
    virtual int FitZoom() const = 0;
    virtual void SetOverviewShown(bool shown) = 0;

    // --- the window ------------------------------------------------------------------------
    // The window in which the camera and the wireless microscope show their pictures.
    virtual QWidget *liveView() const = 0;
    virtual QPushButton *button(CommandId id) const = 0;
    virtual int columnWidth() const = 0;
    // The window's width now.
    virtual int windowWidth() const = 0;
    // The outer size last asked for the window (frame included); the window
    // gets it, cut to the screen.
    virtual QSize windowSizeRequested() const = 0;
    virtual void SetWindowSize(QSize outer) = 0;
    // The temporary directory, or an empty string after the message.
    virtual QString GetTempDir() = 0;

    // --- commands ------------------------------------------------------------------------
    // Queues a command id as the window's own commands are (buttons, pages).
    virtual void PostCommand(CommandId id) = 0;
    // Queues a DeviceEvent code (the receiver's, the image page's).
    virtual void PostDeviceEvent(int code, int argument) = 0;

protected:
    ~PageHost() = default;
};

}  // namespace orv
