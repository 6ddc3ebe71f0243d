#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAbstractTextDocumentLayout;
class QTextDocument;

namespace cw::gui {

// The strings editor's text: the strings table's lines as one document, which the
// strings page shows and edits. CR LF, a lone CR and a lone LF each end a line, and
// saving writes CR LF for each (core/strings/StringsText.h holds the rules; this class
// only decodes and encodes the code page around them).
//
// A strings table of 50,000 lines takes Qt's text document nearly 900 million
// instructions and some 30 MB to build, far more than the opening of a mod may cost. So
// once the event loop runs after the bytes are set, the document is built on a thread of
// its own and put in place when it is ready; whoever needs the text before then (the
// page being shown, a save) waits for that build, and without one the document is built
// at once. Use text(), setFileBytes() and fileBytes(), not the document's own accessors,
// which would see the previous document while the new one is built.
class StringsText : public QObject
{
    Q_OBJECT
public:
    explicit StringsText(QObject *parent);
    ~StringsText() override;

    // The document shown now; it is replaced (documentReplaced) when new bytes are set.
    QTextDocument *document();
    // What lays the documents out for the view that shows them (a plain text editor
    // needs its own layout), made on whatever thread builds a document; none by default.
    using LayoutMaker = QAbstractTextDocumentLayout *(*)(QTextDocument *document);
    void setLayoutMaker(LayoutMaker layout);
    // The font the documents are laid out in: the editor's.
    void setFont(const QFont &font);

    void setFileBytes(std::string_view bytes);
    // Builds the document of the bytes last set now (waiting for the build under way).
    void ensureLoaded();
    // Whether the document holds the bytes last set.
    bool isLoaded() const { return !m_pendingBytes; }
    // The text, as shown (line breaks as "\n").
    QString text();
    // Whether the user changed the text since it was last set or saved; a text set as
    // unsaved (a backup put in the editor) counts as changed.
    bool isModified() const;
    void setModified(bool modified);
    // The text is now what the file holds (it was just written): not modified, and the
    // text differsFromFile() compares with.
    void markWritten();
    // Whether the text is other than the one last set from the file or written to it: a
    // change typed and typed away again is none.
    bool differsFromFile();
    // Replaces the whole text with that of `bytes` as one edit the user can undo, as if
    // it had been typed: the edits it replaces come back with Ctrl+Z.
    void replaceText(std::string_view bytes);

    struct Encoded
    {
        std::optional<std::string> bytes;
        int badLine = 0; // 1-based line of a character the code page cannot hold
    };
    // The bytes Save Changes writes: the text with CR LF line breaks, and a CR LF at the
    // end when the text does not end with a line break.
    Encoded fileBytes();

    static QString textFromBytes(std::string_view bytes);

Q_SIGNALS:
    void documentReplaced(QTextDocument *document);
    // isModified() changed.
    void modifiedChanged();
    // New bytes were set, whose document is not yet in place.
    void bytesSet();

private:
    class Build;

    void startBuild();
    void takeBuilt();
    void putInPlace(QTextDocument *document);
    void abandonBuild();

    QFont m_font;
    LayoutMaker m_layout = nullptr;
    QTextDocument *m_document = nullptr; // a child of this
    std::shared_ptr<const std::string> m_pendingBytes;
    // What the file held when last read or written: its bytes as set (decoded only when a
    // comparison needs them), or the text written.
    std::shared_ptr<const std::string> m_fileBytes;
    std::optional<QString> m_fileText;
    std::unique_ptr<Build> m_build; // of m_pendingBytes, once started
    std::vector<std::unique_ptr<Build>> m_abandoned;
    QTimer m_buildTimer;
};

} // namespace cw::gui
