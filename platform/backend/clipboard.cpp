// The desktop clipboard through Qt's clipboard; an in-process store when no Qt application runs.
#include "platform/backend/clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <mutex>

namespace backend::clipboard {

namespace {

const char* const BmpMime = "image/bmp";

// Counts our own changes and those the desktop reports.
std::atomic<std::uint64_t> gGeneration{1};
bool gConnected = false;
// The content while no Qt application runs.
std::vector<Item> gLocal;
std::mutex gLocalLock;

bool OnGuiThread() {
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Qt's clipboard belongs to the GUI thread; other threads see the content as of the GUI thread's last
// look and publish through it.
QClipboard* SystemClipboard() {
    if (!QGuiApplication::instance() || !OnGuiThread())
        return nullptr;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard && !gConnected) {
        gConnected = true;
        QObject::connect(clipboard, &QClipboard::dataChanged, [] { ++gGeneration; });
    }
    return clipboard;
}

} // namespace

void Publish(const std::vector<Item>& items) {
    std::uint64_t generation = ++gGeneration;
    if (QGuiApplication::instance() && !OnGuiThread()) {
        // Unless something newer got there first by then.
        QMetaObject::invokeMethod(
            qGuiApp,
            [items, generation] {
                if (gGeneration == generation)
                    Publish(items);
            },
            Qt::QueuedConnection);
        return;
    }
    QClipboard* clipboard = SystemClipboard();
    if (!clipboard) {
        std::lock_guard<std::mutex> guard(gLocalLock);
        gLocal = items;
        return;
    }
    if (items.empty()) {
        clipboard->clear();
        return;
    }
    auto* mime = new QMimeData;
    for (const Item& item : items) {
        QByteArray bytes(reinterpret_cast<const char*>(item.data.data()),
                         static_cast<qsizetype>(item.data.size()));
        mime->setData(QString::fromStdString(item.mimeType), bytes);
        // Other programs take pictures in the formats Qt offers for an image.
        if (item.mimeType == BmpMime) {
            QImage image;
            if (image.loadFromData(bytes, "BMP"))
                mime->setImageData(image);
        }
    }
    // The clipboard takes the mime data.
    clipboard->setMimeData(mime);
}

std::vector<std::string> Types() {
    std::vector<std::string> types;
    if (QGuiApplication::instance() && !OnGuiThread())
        return types;
    QClipboard* clipboard = SystemClipboard();
    if (!clipboard) {
        std::lock_guard<std::mutex> guard(gLocalLock);
        for (const Item& item : gLocal)
            types.push_back(item.mimeType);
        return types;
    }
    if (const QMimeData* mime = clipboard->mimeData()) {
        for (const QString& format : mime->formats())
            types.push_back(format.toStdString());
        // A picture another program offers in other formats reads as a BMP file too.
        if (mime->hasImage() && !mime->hasFormat(QString::fromLatin1(BmpMime)))
            types.push_back(BmpMime);
    }
    return types;
}

bool Read(const std::string& mimeType, std::vector<std::uint8_t>& data) {
    data.clear();
    if (QGuiApplication::instance() && !OnGuiThread())
        return false;
    QClipboard* clipboard = SystemClipboard();
    if (!clipboard) {
        std::lock_guard<std::mutex> guard(gLocalLock);
        for (const Item& item : gLocal)
            if (item.mimeType == mimeType) {
                data = item.data;
                return true;
            }
        return false;
    }
    const QMimeData* mime = clipboard->mimeData();
    QString type = QString::fromStdString(mimeType);
    if (mime && mimeType == BmpMime && !mime->hasFormat(type) && mime->hasImage()) {
        QImage image = qvariant_cast<QImage>(mime->imageData());
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (image.isNull() || !image.save(&buffer, "BMP"))
            return false;
        data.assign(bytes.begin(), bytes.end());
        return true;
    }
    if (!mime || !mime->hasFormat(type))
        return false;
    QByteArray bytes = mime->data(type);
    data.assign(bytes.begin(), bytes.end());
    return true;
}

std::uint64_t Generation() {
    SystemClipboard();
    return gGeneration;
}

bool Readable() {
    return !QGuiApplication::instance() || OnGuiThread();
}

std::string UriListFromPaths(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) {
        list += QUrl::fromLocalFile(QString::fromStdString(path)).toEncoded().toStdString();
        list += "\r\n";
    }
    return list;
}

std::vector<std::string> PathsFromUriList(const std::string& uriList) {
    std::vector<std::string> paths;
    for (const QByteArray& line : QByteArray::fromStdString(uriList).split('\n')) {
        QByteArray entry = line.trimmed();
        if (entry.isEmpty() || entry.startsWith('#'))
            continue;
        QUrl url = QUrl::fromEncoded(entry);
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    }
    return paths;
}

} // namespace backend::clipboard
