#include "gui/model/StringsText.h"

#include "core/strings/StringsText.h"
#include "gui/model/TextCodec.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>

#include <atomic>
#include <utility>

namespace cw::gui {
namespace {

// Lines inserted at a time, so that a build nobody waits for any more stops soon.
constexpr int kLinesPerPiece = 2048;

// The document QPlainTextEdit shows for a file's bytes: one block per line, nothing to
// undo, not modified. Nothing when `cancelled` turns true meanwhile. Safe on any
// thread: the document belongs to the calling thread until it is moved.
std::unique_ptr<QTextDocument> buildDocument(std::string_view bytes, const QFont &font,
                                             StringsText::LayoutMaker layout,
                                             const std::atomic<bool> &cancelled)
{
    auto document = std::make_unique<QTextDocument>();
    if (layout)
        document->setDocumentLayout(layout(document.get()));
    document->setDefaultFont(font);
    // The file's text is where undo stops, not a step of its own.
    document->setUndoRedoEnabled(false);
    const QString text = StringsText::textFromBytes(bytes);
    const QStringView all(text);
    {
        QTextCursor end(document.get());
        for (qsizetype from = 0; from < all.size();) {
            if (cancelled.load(std::memory_order_relaxed))
                return nullptr;
            qsizetype to = from;
            for (int line = 0; line < kLinesPerPiece && to < all.size(); ++line) {
                const qsizetype lineEnd = all.indexOf(u'\n', to);
                to = lineEnd < 0 ? all.size() : lineEnd + 1;
            }
            end.insertText(all.sliced(from, to - from).toString());
            from = to;
        }
    }
    // The editor gives every block a layout object of its own when it takes the
    // document (it lays out only the blocks on screen, but clears them all); made here,
    // they cost the thread that shows the page nothing.
    int blocks = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (++blocks % kLinesPerPiece == 0 && cancelled.load(std::memory_order_relaxed))
            return nullptr;
        block.layout();
    }
    document->setUndoRedoEnabled(true);
    document->setModified(false);
    return document;
}

std::unique_ptr<QTextDocument> buildDocumentNow(std::string_view bytes, const QFont &font,
                                                StringsText::LayoutMaker layout)
{
    static const std::atomic<bool> never{false};
    return buildDocument(bytes, font, layout, never);
}

} // namespace

// One build of a document on a thread of its own. It belongs to its owner's thread,
// which alone creates, asks and destroys it; the worker only fills in the result.
class StringsText::Build
{
public:
    Build(std::shared_ptr<const std::string> bytes, const QFont &font, LayoutMaker layout, StringsText *owner)
    {
        QThread *home = owner->thread();
        m_thread.reset(QThread::create([this, bytes = std::move(bytes), font, layout, home] {
            std::unique_ptr<QTextDocument> document = buildDocument(*bytes, font, layout, m_cancelled);
            {
                const QMutexLocker lock(&m_mutex);
                if (document && !m_cancelled) {
                    // Only the thread that owns an object can give it away.
                    document->moveToThread(home);
                    m_document = document.release();
                }
            }
            // A cancelled document goes here, on the thread it belongs to.
            document.reset();
        }));
        // Queued: the editor takes the document on its own thread.
        QObject::connect(m_thread.get(), &QThread::finished, owner, &StringsText::takeBuilt);
        m_thread->setObjectName(QStringLiteral("strings document"));
        m_thread->start();
    }

    Build(const Build &) = delete;
    Build &operator=(const Build &) = delete;

    ~Build()
    {
        cancel();
        m_thread->wait();
        // Built but never taken: it belongs to this thread by now.
        delete m_document;
    }

    void cancel()
    {
        const QMutexLocker lock(&m_mutex);
        m_cancelled = true;
    }
    bool isFinished() const { return m_thread->isFinished(); }
    void wait() { m_thread->wait(); }
    // The document once it is built, else nothing; the caller owns it.
    QTextDocument *take()
    {
        const QMutexLocker lock(&m_mutex);
        return std::exchange(m_document, nullptr);
    }

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancelled{false};
    QMutex m_mutex;
    QTextDocument *m_document = nullptr;
};

StringsText::StringsText(QObject *parent) : QObject(parent)
{
    m_buildTimer.setSingleShot(true);
    m_buildTimer.setInterval(0);
    connect(&m_buildTimer, &QTimer::timeout, this, &StringsText::startBuild);
}

StringsText::~StringsText()
{
    // Every worker ends before the owner it reports to.
    abandonBuild();
    m_abandoned.clear();
}

QString StringsText::textFromBytes(std::string_view bytes)
{
    return decode(editorTextFromFile(bytes));
}

QTextDocument *StringsText::document()
{
    // Made when first shown: laying out even an empty document loads the fonts, which the
    // window's first frame need not wait for here.
    if (!m_document) {
        m_document = buildDocumentNow({}, m_font, m_layout).release();
        m_document->setParent(this);
        connect(m_document, &QTextDocument::modificationChanged, this, &StringsText::modifiedChanged);
    }
    return m_document;
}

void StringsText::setLayoutMaker(LayoutMaker layout)
{
    m_layout = layout;
}

void StringsText::setFont(const QFont &font)
{
    m_font = font;
    if (m_document && m_document->defaultFont() != font)
        m_document->setDefaultFont(font);
}

void StringsText::setFileBytes(std::string_view bytes)
{
    abandonBuild();
    const bool wasModified = isModified();
    m_pendingBytes = std::make_shared<const std::string>(bytes);
    m_fileBytes = m_pendingBytes;
    m_fileText.reset();
    if (wasModified)
        Q_EMIT modifiedChanged();
    Q_EMIT bytesSet();
    if (!m_pendingBytes)
        return; // a view showing the text has put it in place
    // Started when the event loop runs again, so that the build does not compete with
    // the rest of opening the mod.
    if (!bytes.empty())
        m_buildTimer.start();
}

void StringsText::startBuild()
{
    if (!m_pendingBytes || m_pendingBytes->empty() || m_build)
        return;
    // The document shown so far is of other bytes: its memory goes before the new one
    // takes as much again.
    putInPlace(buildDocumentNow({}, m_font, m_layout).release());
    m_build = std::make_unique<Build>(m_pendingBytes, m_font, m_layout, this);
}

void StringsText::takeBuilt()
{
    if (!m_build)
        return;
    QTextDocument *document = m_build->take();
    if (!document)
        return;
    m_build.reset();
    m_pendingBytes.reset();
    putInPlace(document);
}

void StringsText::ensureLoaded()
{
    if (!m_pendingBytes)
        return;
    QTextDocument *document = nullptr;
    if (m_build) {
        m_build->wait();
        document = m_build->take();
        m_build.reset();
    }
    if (!document)
        document = buildDocumentNow(*m_pendingBytes, m_font, m_layout).release();
    m_pendingBytes.reset();
    putInPlace(document);
}

void StringsText::putInPlace(QTextDocument *document)
{
    if (document->defaultFont() != m_font)
        document->setDefaultFont(m_font);
    document->setParent(this);
    QTextDocument *previous = std::exchange(m_document, document);
    connect(document, &QTextDocument::modificationChanged, this, &StringsText::modifiedChanged);
    // Views take the new document before the old one goes.
    Q_EMIT documentReplaced(document);
    delete previous;
}

void StringsText::abandonBuild()
{
    if (m_build) {
        m_build->cancel();
        m_abandoned.push_back(std::move(m_build));
        m_build.reset();
    }
    // Those whose thread has ended go now; the others when they have, at the latest
    // with their owner.
    std::erase_if(m_abandoned, [](const std::unique_ptr<Build> &build) { return build->isFinished(); });
}

bool StringsText::isModified() const
{
    // Text still waiting for its document is the file's, as set.
    return !m_pendingBytes && m_document && m_document->isModified();
}

void StringsText::setModified(bool modified)
{
    ensureLoaded();
    document()->setModified(modified);
}

void StringsText::markWritten()
{
    m_fileBytes.reset();
    m_fileText = text();
    setModified(false);
}

bool StringsText::differsFromFile()
{
    if (!isModified())
        return false;
    if (!m_fileText)
        m_fileText = m_fileBytes ? textFromBytes(*m_fileBytes) : QString();
    return text() != *m_fileText;
}

void StringsText::replaceText(std::string_view bytes)
{
    ensureLoaded();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(textFromBytes(bytes));
    cursor.endEditBlock();
}

QString StringsText::text()
{
    ensureLoaded();
    // The raw text keeps no-break spaces, which toPlainText() would turn into blanks.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    raw.replace(QChar::LineSeparator, u'\n');
    return raw;
}

StringsText::Encoded StringsText::fileBytes()
{
    const QString shown = text();
    Encoded result;
    qsizetype bad = -1;
    const auto bytes = encode(shown, &bad);
    if (!bytes) {
        result.badLine = 1 + static_cast<int>(QStringView(shown).left(bad).count(u'\n'));
        return result;
    }
    result.bytes = fileBytesFromEditorText(*bytes);
    return result;
}

} // namespace cw::gui
