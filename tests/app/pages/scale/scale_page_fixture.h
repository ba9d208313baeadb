#pragma once
// A Scale page on its own, in a temporary start directory, with scripted prompts.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/pages/scale/scale_page.h"
#include "document/measure_document.h"
#include "tests/app/scripted_prompter.h"

namespace orv::test {

inline LocaleSource FixedLocale(const char *user)
{
    LocaleSource src;
    src.systemLanguage = [] { return std::string("en"); };
    src.userLanguage = [user] { return std::string(user); };
    src.englishMarker = [] { return false; };
    return src;
}

// Replaces a field's text by typing: caret to the end, Backspace over the old
// text, then the new characters.
inline void Retype(QLineEdit *edit, const QString &text)
{
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
    for (qsizetype i = edit->text().size(); i > 0; --i)
        QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// A list entry chosen with the mouse.
inline void Choose(QComboBox *combo, int index)
{
    emit combo->activated(index);
}

class ScalePageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    ScalePage &MakePage(const char *userLanguage = "en")
    {
        const Language lang = PageLanguage(FixedLocale(userLanguage));
        page.reset();
        doc = std::make_unique<MeasureDocument>(lang, lang);
        const WindowEnvironment env = prompter.environment(dir.path(), FixedLocale(userLanguage));
        page = std::make_unique<ScalePage>(*doc, nullptr, env);
        page->EnableCalibControls(true);
        return *page;
    }

    const ScalePageControls &ui() const { return page->controls(); }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<MeasureDocument> doc;
    std::unique_ptr<ScalePage> page;
};

}  // namespace orv::test
