#include "ClipboardCache.h"

#include <QGuiApplication>
#include <QMimeData>

namespace {

bool Kept(QClipboard::Mode mode) { return mode == QClipboard::Clipboard || mode == QClipboard::Selection; }

} // namespace

TClipboardCache::TClipboardCache(QClipboard* clipboard) : QObject(clipboard), m_clipboard(clipboard)
{
    connect(clipboard, &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (!Kept(mode)) return;
        m_held[mode] = THeld();
        // Asked as it changes, while the user is in the program that changed it, so that opening a
        // menu here later takes the kept answer. The selection changes with every text selected
        // anywhere, and only a middle-button paste reads it, so it waits for its first question.
        if (mode == QClipboard::Clipboard) held(mode);
    });
}

TClipboardCache& TClipboardCache::Of()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* cache = clipboard->findChild<TClipboardCache*>(QString(), Qt::FindDirectChildrenOnly);
    return cache ? *cache : *new TClipboardCache(clipboard);
}

std::optional<QClipboard::Mode> TClipboardCache::ModeOf(const QMimeData* data)
{
    // Which data the clipboard holds is known without asking its owner.
    const QClipboard* clipboard = QGuiApplication::clipboard();
    for (QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection})
        if (data && clipboard->mimeData(mode) == data) return mode;
    return std::nullopt;
}

const QMimeData* TClipboardCache::data(QClipboard::Mode mode) const { return m_clipboard->mimeData(mode); }

TClipboardCache::THeld& TClipboardCache::held(QClipboard::Mode mode)
{
    THeld& h = m_held[Kept(mode) ? mode : QClipboard::Clipboard];
    if (!h.asked) {
        h.asked = true;
        // One question for the list; Qt adds its picture format when any picture format is listed.
        if (const QMimeData* d = data(mode)) h.formats = d->formats();
    }
    return h;
}

bool TClipboardCache::HasPicture(QClipboard::Mode mode)
{
    return held(mode).formats.contains(QStringLiteral("application/x-qt-image"));
}

QImage TClipboardCache::Picture(QClipboard::Mode mode)
{
    THeld& h = held(mode);
    if (!h.picture) {
        const QMimeData* d = HasPicture(mode) ? data(mode) : nullptr;
        h.picture = d ? qvariant_cast<QImage>(d->imageData()) : QImage();
    }
    return *h.picture;
}

bool TClipboardCache::HasText(QClipboard::Mode mode)
{
    for (const QString& f : held(mode).formats)
        if (f == QLatin1String("text/plain") || f.startsWith(QLatin1String("text/plain;"))) return true;
    return false;
}

QString TClipboardCache::Text(QClipboard::Mode mode)
{
    THeld& h = held(mode);
    if (!h.text) {
        const QMimeData* d = HasText(mode) ? data(mode) : nullptr;
        h.text = d ? d->text() : QString();
    }
    return *h.text;
}
