#include "tools/wireless_sim/wireless_sender.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QStringList>

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace orv::sim {
namespace {

constexpr int kPieceBytes = 1460;
constexpr int kHeaderBytes = 8;

}  // namespace

std::vector<QByteArray> SplitFrame(const QByteArray &jpeg, const FrameHeader &header)
{
    const std::uint32_t length = header.length.value_or(static_cast<std::uint32_t>(jpeg.size()));
    QByteArray first = header.flagsMarker ? QByteArray("JPG", 3) + char(header.flags) : QByteArray("JPEG", 4);
    for (int shift : {24, 16, 8, 0})
        first.append(char((length >> shift) & 0xFF));
    first.append(jpeg.left(kPieceBytes - kHeaderBytes));
    std::vector<QByteArray> datagrams{first};
    for (qsizetype at = kPieceBytes - kHeaderBytes; at < jpeg.size(); at += kPieceBytes)
        datagrams.push_back(jpeg.mid(at, kPieceBytes));
    return datagrams;
}

QByteArray MakeTestFrame(QSize size, int index, int quality)
{
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width(), h = size.height();
    // Smooth shading with a little sensor noise, like a microscope's picture:
    // JPEG frames of 1280 x 960 then weigh what the microscope's do.
    std::uint32_t noise = 0x9E3779B9u * std::uint32_t(index + 1);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 29) - 4;
            line[x] = qRgb(std::clamp(60 + x * 150 / std::max(1, w) + n, 0, 255),
                           std::clamp(80 + y * 120 / std::max(1, h) + n, 0, 255),
                           std::clamp(120 + (index * 9 % 60) + n, 0, 255));
        }
    }
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Cells of the specimen, moving from frame to frame.
    for (int i = 0; i < 24; ++i) {
        const int cx = (i * 173 + index * 7) % std::max(1, w);
        const int cy = (i * 311 + index * 3) % std::max(1, h);
        const int r = std::max(2, (20 + (i * 37) % 60) * w / 1280);
        p.setPen(QPen(QColor(40, 60, 40), std::max(1, w / 400)));
        p.setBrush(QColor(150 + i * 4 % 100, 170, 120, 160));
        p.drawEllipse(QPoint(cx, cy), r, r);
    }
    QFont font = p.font();
    font.setPixelSize(std::max(8, h / 8));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, QString::number(index));
    p.end();

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    if (!writer.write(image))
        return {};
    return bytes;
}

QByteArray LoadFrameFile(const QString &path, int quality)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xFF\xD8"))
        return bytes;
    QImage image;
    if (!image.loadFromData(bytes))
        return {};
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    return writer.write(image) ? jpeg : QByteArray();
}

void Impair(std::vector<QByteArray> &datagrams, const Impairments &impairments, std::mt19937 &random)
{
    std::uniform_real_distribution<double> chance(0, 1);
    std::vector<QByteArray> out;
    out.reserve(datagrams.size());
    for (QByteArray &d : datagrams) {
        if (chance(random) < impairments.garbage) {
            QByteArray junk(std::uniform_int_distribution<int>(1, 1500)(random), '\0');
            for (char &c : junk)
                c = char(random() & 0xFF);
            if (junk.startsWith("JP"))
                junk[0] = 'X';
            out.push_back(junk);
        }
        if (chance(random) >= impairments.loss)
            out.push_back(std::move(d));
    }
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (chance(random) < impairments.reorder) {
            std::swap(out[i], out[i + 1]);
            ++i;
        }
    }
    datagrams = std::move(out);
}

std::optional<std::uint8_t> ButtonFlagsFor(const std::vector<ButtonPress> &script, int frame)
{
    for (const ButtonPress &press : script) {
        if (frame >= press.pressFrame && frame < press.releaseFrame)
            return std::uint8_t{0x02};
        if (frame == press.releaseFrame)
            return std::uint8_t{0x01};
    }
    return std::nullopt;
}

std::optional<std::vector<ButtonPress>> ParseButtonScript(const QString &text)
{
    std::vector<ButtonPress> script;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(QLatin1Char('-'));
        bool ok1 = false, ok2 = false;
        if (ends.size() != 2)
            return std::nullopt;
        const int press = ends[0].trimmed().toInt(&ok1);
        const int release = ends[1].trimmed().toInt(&ok2);
        if (!ok1 || !ok2 || press < 0 || release <= press)
            return std::nullopt;
        script.push_back({press, release});
    }
    return script;
}

std::unique_ptr<UdpSender> UdpSender::Open(const QString &host, std::uint16_t port, QString *error)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    const QByteArray name = host.toUtf8();
    const QByteArray service = QByteArray::number(port);
    if (const int rc = ::getaddrinfo(name.constData(), service.constData(), &hints, &found); rc != 0) {
        if (error)
            *error = QString::fromLocal8Bit(::gai_strerror(rc));
        return nullptr;
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
    const int fd = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    if (fd < 0 || ::connect(fd, found->ai_addr, found->ai_addrlen) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<UdpSender>(new UdpSender(fd));
}

UdpSender::~UdpSender()
{
    ::close(fd_);
}

bool UdpSender::Send(const QByteArray &datagram)
{
    // Nobody listening yet shows as ECONNREFUSED on the next send; the
    // datagram is still gone, as over the air.
    return ::send(fd_, datagram.constData(), static_cast<std::size_t>(datagram.size()), 0) ==
           static_cast<ssize_t>(datagram.size());
}

int UdpSender::SendSpread(const std::vector<QByteArray> &datagrams, std::chrono::microseconds spread)
{
    const auto start = std::chrono::steady_clock::now();
    int sent = 0;
    for (std::size_t i = 0; i < datagrams.size(); ++i) {
        if (spread.count() > 0 && i > 0)
            std::this_thread::sleep_until(start + spread * static_cast<long>(i) / static_cast<long>(datagrams.size()));
        sent += Send(datagrams[i]) ? 1 : 0;
    }
    return sent;
}

}  // namespace orv::sim
