#include "app/mainwindow/session_guard.h"

#include <QDir>
#include <QLocale>
#include <QtDebug>
#include <QUndoStack>

#include "app/dialogs/ui_prompter.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/window_files.h"
#include "app/pages/page_host.h"
#include "document/autosave_writer.h"
#include "document/document_history.h"
#include "document/measure_document.h"
#include "document/recovery_store.h"

namespace orv {

SessionGuard::Intervals SessionGuard::DefaultIntervals()
{
    Intervals intervals;
    bool ok = false;
    const double seconds = qEnvironmentVariable("ORVALIN_AUTOSAVE_SECONDS").toDouble(&ok);
    if (ok && seconds > 0 && seconds <= kLongestWaitMs / 1000)
        intervals.pauseMs = static_cast<int>(seconds * 1000);
    return intervals;
}

SessionGuard::SessionGuard(MainWindow &mainWindow, const QString &recoveryDir) :
    QObject(&mainWindow),
    mainWindow_(mainWindow),
    store_(std::make_unique<RecoveryStore>(recoveryDir.isEmpty() ? RecoveryStore::DefaultDir() : recoveryDir))
{
    setObjectName(QStringLiteral("sessionGuard"));
    if (store_->ready())
        writer_ = std::make_unique<AutosaveWriter>(store_->filePath(), store_->namePath(), store_->dataPath());
    else
        qWarning().noquote() << "No recovery copies: the folder cannot be used:" << store_->dir();

    pause_.setSingleShot(true);
    longest_.setSingleShot(true);
    SetIntervals(DefaultIntervals());
    connect(&pause_, &QTimer::timeout, this, &SessionGuard::WriteCopy);
    connect(&longest_, &QTimer::timeout, this, &SessionGuard::WriteCopy);

    MeasureDocument &doc = mainWindow.document();
    const QUndoStack &stack = doc.history().stack();
    connect(&stack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { mainWindow_.setWindowModified(!clean && mainWindow_.document().hasImage()); });
    // Steps, undo and redo; the image going or coming starts history anew.
    connect(&stack, &QUndoStack::indexChanged, this, &SessionGuard::Changed);
    connect(&stack, &QUndoStack::cleanChanged, this, &SessionGuard::Changed);
    connect(&doc, &MeasureDocument::imageChanged, this, [this] {
        mainWindow_.setWindowModified(unsaved());
        Changed();
    });
}

SessionGuard::~SessionGuard()
{
    // The window goes without ending (the session is ending): the work is kept for the next start.
    if (writer_ && unsaved())
        WriteCopyNow();
}

SessionGuard *SessionGuard::Of(const MainWindow &mainWindow)
{
    return mainWindow.findChild<SessionGuard *>(QString(), Qt::FindDirectChildrenOnly);
}

bool SessionGuard::unsaved() const
{
    MeasureDocument &doc = mainWindow_.document();
    return doc.hasImage() && !doc.history().stack().isClean();
}

QString SessionGuard::Tr(const char *english, const char *japanese) const
{
    return mainWindow_.host().language() == Language::English ? QString::fromUtf8(english)
                                                               : QString::fromUtf8(japanese);
}

void SessionGuard::Changed()
{
    if (!unsaved()) {
        DropCopy();
        return;
    }
    pause_.start();
    if (!longest_.isActive())
        longest_.start();
}

void SessionGuard::WriteCopy()
{
    pause_.stop();
    longest_.stop();
    if (!writer_ || !unsaved())
        return;
    // A question asked in the middle of a step runs the timers: the copy waits for its end.
    if (mainWindow_.document().history().busy()) {
        pause_.start();
        return;
    }
    // Only the copy is made here; the encoding and the disk are the writer's thread's.
    const WindowFiles *files = WindowFiles::Of(mainWindow_);
    writer_->SubmitCopyOf(mainWindow_.document(), files ? files->shownName() : QString());
}

void SessionGuard::WriteCopyNow()
{
    WriteCopy();
    if (writer_)
        writer_->WaitIdle();
}

void SessionGuard::DropCopy()
{
    pause_.stop();
    longest_.stop();
    if (writer_)
        writer_->Remove();
}

void SessionGuard::SetIntervals(Intervals intervals)
{
    pause_.setInterval(intervals.pauseMs);
    longest_.setInterval(intervals.longestWaitMs);
}

QString SessionGuard::recoveryFilePath() const
{
    return store_->filePath();
}

bool SessionGuard::ConfirmClose()
{
    if (!unsaved())
        return true;
    const QString text = Tr("Save changes to the measurements before closing?",
                            "閉じる前に計測結果の変更を保存しますか？");
    switch (mainWindow_.host().prompter().message(&mainWindow_, text, mainWindow_.windowTitle(),
                                                  UiPrompter::Buttons::SaveDiscardCancel,
                                                  UiPrompter::Icon::Question)) {
    case UiPrompter::Answer::Save: {
        // A failure was shown by the save itself; the work stays.
        WindowFiles *files = WindowFiles::Of(mainWindow_);
        return files && files->Save();
    }
    case UiPrompter::Answer::Discard:
        DropCopy();
        return true;
    default:
        return false;
    }
}

void SessionGuard::EndCleanly()
{
    DropCopy();
    if (writer_)
        writer_->WaitIdle();
}

void SessionGuard::OfferRecovery()
{
    bool restored = false;
    for (RecoveryEntry &entry : store_->FindLeftBehind()) {
        QString readPath;
        MeasurementReadResult read = RecoveryStore::Read(entry.path, &readPath);
        if (!read.session) {
            const QString aside = RecoveryStore::SetAside(entry);
            // Not renamed (a read-only folder): it is offered again next time.
            const QString where = aside.isEmpty()
                ? Tr("This recovery file stays at:\n%1", "この復元用のファイルは次の場所に残っています:\n%1")
                      .arg(QDir::toNativeSeparators(entry.path))
                : Tr("This recovery file was set aside as:\n%1", "この復元用のファイルは次の名前で残してあります:\n%1")
                      .arg(QDir::toNativeSeparators(aside));
            const QString text =
                MeasurementReadMessage(read, readPath, mainWindow_.host().language()) + QLatin1Char('\n') + where;
            mainWindow_.host().prompter().message(&mainWindow_, text, mainWindow_.windowTitle(),
                                                  UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
            continue;
        }
        // One session at a time: the others wait for the next start.
        if (restored)
            continue;
        const QString name = entry.imageName.isEmpty() ? Tr("an unnamed image", "名前のない画像") : entry.imageName;
        const QString time = QLocale::system().toString(entry.saved, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        const QString text = Tr("Orvalin was not closed properly. Restore the measurements on %1 from %2 (%3 "
                                "measurements)?",
                                "Orvalin は正しく終了しませんでした。%2 の %1 の計測結果 (%3 件) を復元しますか？")
                                 .arg(name, time)
                                 .arg(read.session->items.size());
        const UiPrompter::Answer answer = mainWindow_.host().prompter().message(
            &mainWindow_, text, mainWindow_.windowTitle(), UiPrompter::Buttons::RestoreDiscard,
            UiPrompter::Icon::Question);
        if (answer != UiPrompter::Answer::Restore && answer != UiPrompter::Answer::Discard)
            continue;  // not answered: offered again next time
        if (answer == UiPrompter::Answer::Restore) {
            WindowFiles *files = WindowFiles::Of(mainWindow_);
            if (!files || !files->OpenRecovered(std::move(*read.session), entry.imageName))
                continue;
            mainWindow_.document().history().stack().resetClean();
            // Safe in this session's own copy before the old one goes.
            WriteCopyNow();
            restored = true;
        }
        RecoveryStore::Remove(entry);
    }
}

void OfferRecovery(MainWindow &mainWindow)
{
    if (SessionGuard *guard = SessionGuard::Of(mainWindow))
        guard->OfferRecovery();
}

}  // namespace orv
