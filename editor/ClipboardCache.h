#pragma once
// What the clipboard holds, as the editor asks it. Each question to the clipboard goes to the
// program that owns it, and one that has stopped answering holds the question for seconds; Qt's
// own checks ask several times each. So the owner is asked once as the clipboard changes (what it
// held at start, and the selection, at their first question) and the answers are kept until the
// next change: opening a menu then takes a kept answer, and a paste waits at most on the one
// question its data needs.
#include <QClipboard>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QMimeData;

class TClipboardCache : public QObject {
    Q_OBJECT
public:
    // The cache of the application's clipboard, made at the first call and gone with the clipboard.
    static TClipboardCache& Of();
    // The mode of the clipboard whose data `data` is; none for data from elsewhere (a drop).
    static std::optional<QClipboard::Mode> ModeOf(const QMimeData* data);

    bool HasPicture(QClipboard::Mode mode = QClipboard::Clipboard);
    // The picture; null when there is none or its owner gave none.
    QImage Picture(QClipboard::Mode mode = QClipboard::Clipboard);
    bool HasText(QClipboard::Mode mode = QClipboard::Clipboard);
    QString Text(QClipboard::Mode mode = QClipboard::Clipboard);

private:
    explicit TClipboardCache(QClipboard* clipboard);
    struct THeld {
        bool asked = false;
        QStringList formats;
        std::optional<QImage> picture;
        std::optional<QString> text;
    };
    // The kept answers of the mode; its formats asked first when the clipboard changed since.
    THeld& held(QClipboard::Mode mode);
    const QMimeData* data(QClipboard::Mode mode) const;
    QClipboard* m_clipboard;
    THeld m_held[2]; // the clipboard and the selection
};
