#pragma once

#include <QPlainTextEdit>

#include <optional>
#include <string>
#include <string_view>

namespace cw::gui {

// The strings editor. The Tab key moves the focus, as everywhere in the window, so a
// typed grave accent becomes a tab instead; pasted text is taken as it is.
//
// Its text is the file's lines: CR LF, a lone CR and a lone LF each show as a line
// break, and saving writes CR LF for each (core/strings/StringsText.h holds the rules;
// this class only decodes and encodes the code page around them).
//
// A strings table of 50,000 lines takes Qt's text document a tenth of a second and
// 20 MB to build, and the editor's page is never on screen when a mod is opened, so
// the document is built from the bytes only when the editor is first shown or its
// text is asked for. Use text(), setFileBytes() and fileBytes(), not the
// QPlainTextEdit accessors, which would see the document before it is built.
class StringsTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit StringsTextEdit(QWidget *parent);

    void setFileBytes(std::string_view bytes);
    // The editor's text, as shown (line breaks as "\n").
    QString text();
    // Builds the document now if it is still waiting for its first showing.
    void ensureLoaded();
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
    std::optional<std::string> m_pendingBytes;
};

} // namespace cw::gui
