// orvalin-wireless-sim: sends JPEG frames to a host and port in the wireless
// microscope's wire format, for trying wireless mode without a microscope.
#include "tools/wireless_sim/wireless_sender.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace orv::sim;

namespace {

std::optional<QSize> ParseSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool ok1 = false, ok2 = false;
    if (parts.size() != 2)
        return std::nullopt;
    const QSize size(parts[0].toInt(&ok1), parts[1].toInt(&ok2));
    if (!ok1 || !ok2 || size.isEmpty() || size.width() > 8192 || size.height() > 8192)
        return std::nullopt;
    return size;
}

int Fail(const QString &message)
{
    std::fprintf(stderr, "orvalin-wireless-sim: %s\n", qPrintable(message));
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sends JPEG frames as a wireless microscope does: from a folder of images, one image, "
        "or generated frames when none is given."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("source"), QStringLiteral("An image file or a folder of images."),
                                 QStringLiteral("[source]"));
    const QCommandLineOption host({QStringLiteral("host")}, QStringLiteral("Receiver (default 127.0.0.1)."),
                                  QStringLiteral("host"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port({QStringLiteral("p"), QStringLiteral("port")},
                                  QStringLiteral("UDP port (default 8255)."), QStringLiteral("port"),
                                  QStringLiteral("8255"));
    const QCommandLineOption fps({QStringLiteral("fps")}, QStringLiteral("Frames per second (default 30)."),
                                 QStringLiteral("rate"), QStringLiteral("30"));
    const QCommandLineOption frames({QStringLiteral("n"), QStringLiteral("frames")},
                                    QStringLiteral("Frames to send; 0 runs until stopped (default 0)."),
                                    QStringLiteral("count"), QStringLiteral("0"));
    const QCommandLineOption size({QStringLiteral("size")},
                                  QStringLiteral("Generated frame size (default 640x480)."), QStringLiteral("WxH"),
                                  QStringLiteral("640x480"));
    const QCommandLineOption pressSize({QStringLiteral("press-size")},
                                       QStringLiteral("Generated frame size while the button is held "
                                                      "(default 1280x960)."),
                                       QStringLiteral("WxH"), QStringLiteral("1280x960"));
    const QCommandLineOption quality({QStringLiteral("quality")},
                                     QStringLiteral("JPEG quality of generated frames (default 85)."),
                                     QStringLiteral("1-100"), QStringLiteral("85"));
    const QCommandLineOption flagsMarker({QStringLiteral("jpg")},
                                         QStringLiteral("Send every header as \"JPG\" with this flags byte."),
                                         QStringLiteral("flags"));
    const QCommandLineOption button({QStringLiteral("button")},
                                    QStringLiteral("Button presses by frame number, e.g. 30-60,120-150: "
                                                   "held from the first frame, released at the second."),
                                    QStringLiteral("script"));
    const QCommandLineOption loss({QStringLiteral("loss")}, QStringLiteral("Chance to drop a datagram."),
                                  QStringLiteral("p"), QStringLiteral("0"));
    const QCommandLineOption reorder({QStringLiteral("reorder")},
                                     QStringLiteral("Chance to swap a datagram with the next."), QStringLiteral("p"),
                                     QStringLiteral("0"));
    const QCommandLineOption garbage({QStringLiteral("garbage")},
                                     QStringLiteral("Chance to send random bytes before a datagram."),
                                     QStringLiteral("p"), QStringLiteral("0"));
    const QCommandLineOption seed({QStringLiteral("seed")}, QStringLiteral("Random seed (default 1)."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption pad({QStringLiteral("pad")}, QStringLiteral("Zero bytes after each JPEG."),
                                 QStringLiteral("n"), QStringLiteral("0"));
    parser.addOptions({host, port, fps, frames, size, pressSize, quality, flagsMarker, button, loss, reorder, garbage,
                       seed, pad});
    parser.process(app);

    bool ok = false;
    const int portNumber = parser.value(port).toInt(&ok);
    if (!ok || portNumber <= 0 || portNumber > 65535)
        return Fail(QStringLiteral("bad port"));
    const double rate = parser.value(fps).toDouble(&ok);
    if (!ok || rate <= 0 || rate > 1000)
        return Fail(QStringLiteral("bad rate"));
    const int count = parser.value(frames).toInt(&ok);
    if (!ok || count < 0)
        return Fail(QStringLiteral("bad frame count"));
    const int q = parser.value(quality).toInt(&ok);
    if (!ok || q < 1 || q > 100)
        return Fail(QStringLiteral("bad quality"));
    const int padding = parser.value(pad).toInt(&ok);
    if (!ok || padding < 0 || padding > 1 << 20)
        return Fail(QStringLiteral("bad padding"));
    const auto liveSize = ParseSize(parser.value(size));
    const auto heldSize = ParseSize(parser.value(pressSize));
    if (!liveSize || !heldSize)
        return Fail(QStringLiteral("bad size (WxH)"));
    std::vector<ButtonPress> script;
    if (parser.isSet(button)) {
        const auto parsed = ParseButtonScript(parser.value(button));
        if (!parsed)
            return Fail(QStringLiteral("bad button script (e.g. 30-60,120-150)"));
        script = *parsed;
    }
    std::optional<std::uint8_t> fixedFlags;
    if (parser.isSet(flagsMarker)) {
        const int f = parser.value(flagsMarker).toInt(&ok, 0);
        if (!ok || f < 0 || f > 255)
            return Fail(QStringLiteral("bad flags byte"));
        fixedFlags = std::uint8_t(f);
    }
    Impairments impairments;
    impairments.loss = parser.value(loss).toDouble();
    impairments.reorder = parser.value(reorder).toDouble();
    impairments.garbage = parser.value(garbage).toDouble();
    std::mt19937 random(parser.value(seed).toUInt());

    std::vector<QByteArray> files;
    if (!parser.positionalArguments().isEmpty()) {
        const QFileInfo source(parser.positionalArguments().constFirst());
        QStringList paths;
        if (source.isDir()) {
            for (const QFileInfo &f : QDir(source.filePath()).entryInfoList(QDir::Files, QDir::Name))
                paths << f.filePath();
        } else {
            paths << source.filePath();
        }
        for (const QString &path : paths) {
            const QByteArray jpeg = LoadFrameFile(path, q);
            if (!jpeg.isEmpty())
                files.push_back(jpeg);
        }
        if (files.empty())
            return Fail(QStringLiteral("no readable image in %1").arg(source.filePath()));
    }

    QString error;
    const auto sender = UdpSender::Open(parser.value(host), std::uint16_t(portNumber), &error);
    if (!sender)
        return Fail(error);

    const auto interval = std::chrono::microseconds(static_cast<long long>(1e6 / rate));
    auto next = std::chrono::steady_clock::now();
    for (int i = 0; count == 0 || i < count; ++i) {
        const auto buttonFlags = ButtonFlagsFor(script, i);
        QByteArray jpeg;
        if (!files.empty())
            jpeg = files[std::size_t(i) % files.size()];
        else
            jpeg = MakeTestFrame(buttonFlags == std::uint8_t{0x02} ? *heldSize : *liveSize, i, q);
        jpeg.append(QByteArray(padding, '\0'));
        FrameHeader header;
        if (buttonFlags || fixedFlags) {
            header.flagsMarker = true;
            header.flags = buttonFlags ? *buttonFlags : *fixedFlags;
        }
        std::vector<QByteArray> datagrams = SplitFrame(jpeg, header);
        Impair(datagrams, impairments, random);
        // Spread over half the frame interval, as a radio link does.
        sender->SendSpread(datagrams, interval / 2);
        next += interval;
        std::this_thread::sleep_until(next);
    }
    return 0;
}
