#pragma once
// Keeps the window's work from being lost: marks the title while the
// measurements differ from what was opened or saved (the undo history's clean
// state), asks Save / Discard / Cancel before unsaved work is closed, keeps a
// copy in the recovery folder once the user pauses, and offers what a crashed
// session left there at the next start. A child object of the window.

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace orv {

class AutosaveWriter;
class MainWindow;
class RecoveryStore;

class SessionGuard : public QObject {
    Q_OBJECT

public:
    // The pause before a copy is written: ORVALIN_AUTOSAVE_SECONDS, else this.
    static constexpr int kDefaultPauseMs = 5000;
    // While changes keep coming, a copy is written at least this often.
    static constexpr int kLongestWaitMs = 60000;

    struct Intervals {
        int pauseMs = kDefaultPauseMs;
        int longestWaitMs = kLongestWaitMs;
    };
    // The pause as ORVALIN_AUTOSAVE_SECONDS asks, and the longest wait.
    static Intervals DefaultIntervals();

    // recoveryDir: where the copies go (RecoveryStore::DefaultDir() when empty).
    SessionGuard(MainWindow &mainWindow, const QString &recoveryDir);
    ~SessionGuard() override;

    // The window's object; nullptr before it is made.
    static SessionGuard *Of(const MainWindow &mainWindow);

    // There is an image whose measurements differ from those opened or saved.
    bool unsaved() const;
    // Before unsaved work goes: Save (a failed or cancelled save keeps it),
    // Discard, or Cancel. True when the work may go; true at once when
    // nothing is unsaved.
    bool ConfirmClose();
    // The window ends with nothing left to recover: the copy goes.
    void EndCleanly();
    // Offers each copy a session that ended without closing left behind:
    // restored into the window (and marked unsaved) or removed; a damaged
    // one is set aside and the user told where it is.
    void OfferRecovery();

    // This instance's copy, and where the copies go.
    QString recoveryFilePath() const;
    // Writes a copy now when there is unsaved work, and waits until it is on disk.
    void WriteCopyNow();
    // Other intervals than the default ones (tests that cannot wait a minute).
    void SetIntervals(Intervals intervals);

private:
    void Changed();
    void WriteCopy();
    void DropCopy();
    QString Tr(const char *english, const char *japanese) const;

    MainWindow &mainWindow_;
    std::unique_ptr<RecoveryStore> store_;
    std::unique_ptr<AutosaveWriter> writer_;
    QTimer pause_;
    QTimer longest_;
};

// At start: the copies left by crashed sessions are offered (see SessionGuard).
void OfferRecovery(MainWindow &mainWindow);

}  // namespace orv
