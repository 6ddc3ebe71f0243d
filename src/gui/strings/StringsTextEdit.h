#pragma once

#include <QPlainTextEdit>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw::gui {

// The strings editor. The Tab key moves the focus, as everywhere in the window, so a
// typed grave accent becomes a tab instead; pasted text is taken as it is.
//
// Its text is the file's lines: CR LF, a lone CR and a lone LF each show as a line
// break, and saving writes CR LF for each (core/strings/StringsText.h holds the rules;
// this class only decodes and encodes the code page around them).
//
// A strings table of 50,000 lines takes Qt's text document nearly 900 million
// instructions and some 30 MB to build, far more than the first showing of the page may
// cost. So once the event loop runs after the bytes are set, the document is built on a
// thread of its own and put in place when it is ready; a page shown (or a text asked
// for) before then waits for that build, and without one the document is built at
// once. Use text(), setFileBytes() and fileBytes(), not the QPlainTextEdit accessors,
// which would see the previous document while the new one is built.
class StringsTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit StringsTextEdit(QWidget *parent);
    ~StringsTextEdit() override;

    void setFileBytes(std::string_view bytes);
    // The editor's text, as shown (line breaks as "\n").
    QString text();
    // Puts the document of the bytes last set in place now, waiting for its build.
    void ensureLoaded();
    // Whether the document holds the bytes last set.
    bool isLoaded() const { return !m_pendingBytes; }
    // Whether the user changed the text since it was last set or saved.
    bool isModified() const;
    void markSaved();

    struct Encoded
    {
        std::optional<std::string> bytes;
        int badLine = 0; // 1-based line of a character the code page cannot hold
    };
    // The bytes Save Changes writes: the text with CR LF line breaks, and one CR LF
    // after it.
    Encoded fileBytes();

    static QString textFromBytes(std::string_view bytes);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    class Build;

    void startBuild();
    void takeBuilt();
    void putInPlace(QTextDocument *document);
    void abandonBuild();

    std::shared_ptr<const std::string> m_pendingBytes;
    std::unique_ptr<Build> m_build; // of m_pendingBytes, once started
    std::vector<std::unique_ptr<Build>> m_abandoned;
    QTimer m_buildTimer;
};

} // namespace cw::gui
