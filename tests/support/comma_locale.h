#pragma once
// Puts LC_NUMERIC into a locale whose decimal separator is a comma (as a
// German desktop does once Qt has called setlocale), building one with
// localedef into a temporary folder when none is installed. Restores the
// previous locale on destruction. active() is false when neither worked.

#include <QProcess>
#include <QTemporaryDir>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

namespace orv::test {

class CommaDecimalLocale {
public:
    CommaDecimalLocale()
    {
        const char *current = std::setlocale(LC_NUMERIC, nullptr);
        saved_ = current ? current : "C";
        if (const char *p = std::getenv("LOCPATH"))
            savedLocPath_ = p;
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (Use(name))
                return;
        }
        if (!dir_.isValid())
            return;
        const QString target = dir_.filePath(QStringLiteral("de_DE.UTF-8"));
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                         QStringLiteral("UTF-8"), target});
        if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit)
            return;
        ::setenv("LOCPATH", dir_.path().toLocal8Bit().constData(), 1);
        Use("de_DE.UTF-8");
    }

    ~CommaDecimalLocale()
    {
        std::setlocale(LC_NUMERIC, saved_.c_str());
        if (savedLocPath_)
            ::setenv("LOCPATH", savedLocPath_->c_str(), 1);
        else
            ::unsetenv("LOCPATH");
    }

    CommaDecimalLocale(const CommaDecimalLocale &) = delete;
    CommaDecimalLocale &operator=(const CommaDecimalLocale &) = delete;

    bool active() const { return active_; }

private:
    bool Use(const char *name)
    {
        if (!std::setlocale(LC_NUMERIC, name))
            return false;
        const std::lconv *conv = std::localeconv();
        active_ = conv && conv->decimal_point && std::string(conv->decimal_point) == ",";
        if (!active_)
            std::setlocale(LC_NUMERIC, saved_.c_str());
        return active_;
    }

    std::string saved_;
    std::optional<std::string> savedLocPath_;
    QTemporaryDir dir_;
    bool active_ = false;
};

}  // namespace orv::test
