#pragma once
// Test double of the UI seam: records every message and chooser call and
// answers from scripted queues (defaults when a queue is empty). Windows get
// it through their environment (handle()); it must outlive them.

#include <QColor>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/pages/window_environment.h"
#include "app/dialogs/ui_prompter.h"

namespace orv::test {

class ScriptedPrompter : public UiPrompter {
public:
    struct Message {
        QString text;
        QString caption;
        Buttons buttons;
    };
    struct FileRequest {
        QString caption;
        QString dir;
        QString filter;
    };

    ScriptedPrompter() = default;
    ScriptedPrompter(const ScriptedPrompter &) = delete;
    ScriptedPrompter &operator=(const ScriptedPrompter &) = delete;

    // Scripted answers, consumed in order.
    std::deque<Answer> answers;
    std::deque<QString> openPaths;
    std::deque<QString> savePaths;
    // The filter each save chooser reports as chosen; none when empty.
    std::deque<QString> saveFilters;
    std::deque<std::optional<QColor>> colors;
    std::deque<std::optional<QString>> texts;
    bool openDocumentResult = true;
    // Runs inside the text input request, as the dialog's own event loop would.
    std::function<void()> whileAskingText;
    // Works a window's own dialog while it is open, as the user would; the
    // dialog's result is the answer (rejected when nothing accepts it).
    std::function<void(QDialog &)> whileDialogOpen;
    int dialogRequests = 0;

    // What was asked.
    std::vector<Message> messages;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    int colorRequests = 0;
    int textRequests = 0;
    std::vector<QUrl> openedDocuments;
    int aboutRequests = 0;
    // The language the last about box was asked in.
    Language aboutLanguage = Language::Japanese;

    // A non-owning handle for WindowEnvironment::prompter.
    std::shared_ptr<UiPrompter> handle() { return {std::shared_ptr<UiPrompter>(), this}; }

    // What pages and windows under test get: this prompter, setting files in
    // startDir, the given locale.
    WindowEnvironment environment(const QString &startDir, LocaleSource locale)
    {
        WindowEnvironment env;
        env.startDir = startDir;
        env.locale = std::move(locale);
        env.prompter = handle();
        return env;
    }

    Answer message(QWidget *, const QString &text, const QString &caption, Buttons buttons,
                   Icon) override
    {
        messages.push_back({text, caption, buttons});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        // Unsaved work and found work are let go unless a test says otherwise.
        switch (buttons) {
        case Buttons::YesNo: return Answer::No;
        case Buttons::OkCancel: return Answer::Cancel;
        case Buttons::SaveDiscardCancel:
        case Buttons::RestoreDiscard: return Answer::Discard;
        case Buttons::Ok: break;
        }
        return Answer::Ok;
    }

    QString openFile(QWidget *, const QString &caption, const QString &dir,
                     const QString &filter) override
    {
        openRequests.push_back({caption, dir, filter});
        return Pop(openPaths);
    }

    QString saveFile(QWidget *, const QString &caption, const QString &dir,
                     const QString &filter, QString *selectedFilter) override
    {
        saveRequests.push_back({caption, dir, filter});
        const QString chosen = Pop(saveFilters);
        if (selectedFilter && !chosen.isEmpty())
            *selectedFilter = chosen;
        return Pop(savePaths);
    }

    std::optional<QColor> chooseColor(QWidget *, const QColor &) override
    {
        ++colorRequests;
        if (colors.empty())
            return std::nullopt;
        auto c = colors.front();
        colors.pop_front();
        return c;
    }

    std::optional<QString> inputText(QWidget *, const QString &) override
    {
        ++textRequests;
        if (whileAskingText)
            whileAskingText();
        if (texts.empty())
            return std::nullopt;
        const bool given = texts.front().has_value();
        const QString value = given ? *texts.front() : QString();
        texts.pop_front();
        if (!given)
            return std::nullopt;
        return value;
    }

    bool openDocument(const QUrl &url) override
    {
        openedDocuments.push_back(url);
        return openDocumentResult;
    }

    int runDialog(QDialog &dialog) override
    {
        ++dialogRequests;
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        if (whileDialogOpen)
            whileDialogOpen(dialog);
        dialog.hide();
        return dialog.result();
    }

    void about(QWidget *, Language language) override
    {
        ++aboutRequests;
        aboutLanguage = language;
    }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const auto &m : messages)
            out << m.text;
        return out;
    }

private:
    static QString Pop(std::deque<QString> &q)
    {
        if (q.empty())
            return {};
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

}  // namespace orv::test
