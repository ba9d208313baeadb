#pragma once
// Reads a workbook back with an independent reader (xlsx_dump.py: openpyxl
// for cells and styles, the drawing part's XML for pictures).

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <string_view>

namespace orv::test {

inline bool XlsxReaderAvailable()
{
    return !std::string_view(ORVALIN_XLSX_PYTHON).empty();
}

// On a CI runner (CI set, as CI services do) a missing reader fails the test:
// what only the reader checks must not pass there unchecked.
inline bool XlsxReaderRequired()
{
    const char *ci = std::getenv("CI");
    return ci && *ci;
}

}  // namespace orv::test

// Skips the rest of the test without the reader, or fails it where required.
#define ORVALIN_REQUIRE_XLSX_READER()                                                                \
    do {                                                                                             \
        if (!::orv::test::XlsxReaderAvailable()) {                                                   \
            if (::orv::test::XlsxReaderRequired())                                                   \
                GTEST_FAIL() << "python3 with openpyxl (python3-openpyxl) is required under CI";     \
            GTEST_SKIP() << "python3 with openpyxl (python3-openpyxl) is not installed";             \
        }                                                                                            \
    } while (false)

namespace orv::test {

// What the reader found; an empty object (and error set) when it failed.
// With mediaDir the embedded pictures are copied there ("file" of each).
inline QJsonObject ReadXlsx(const QString &path, const QString &mediaDir = {},
                            QString *error = nullptr)
{
    QProcess p;
    QStringList args{QStringLiteral(ORVALIN_XLSX_DUMP), path};
    if (!mediaDir.isEmpty())
        args << mediaDir;
    p.start(QStringLiteral(ORVALIN_XLSX_PYTHON), args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &parseError);
    if (error)
        *error = parseError.errorString();
    return doc.object();
}

// Drawing positions are in EMU: 12700 per point.
inline double EmuToPoints(double emu)
{
    return emu / 12700.0;
}

}  // namespace orv::test
