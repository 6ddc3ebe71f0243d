#pragma once

#include <QPlainTextEdit>

#include <optional>
#include <string>
#include <string_view>

namespace cw::gui {

// The strings editor. The Tab key moves the focus, as everywhere in the window, so a
// typed grave accent becomes a tab instead; pasted text is taken as it is.
//
// Its text is the file's bytes: CR LF pairs are its line breaks, while a lone CR or a
// lone LF (which do not end a line where the editor reads strings files) stay in the
// line as the visible symbols ␍ and ␊, so that saving writes back every byte.
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

    struct Encoded
    {
        std::optional<std::string> bytes;
        int badLine = 0; // 1-based line of a character the code page cannot hold
    };
    // The text as file bytes, line breaks as CR LF.
    Encoded fileBytes();

    static QString textFromBytes(std::string_view bytes);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    std::optional<std::string> m_pendingBytes;
};

} // namespace cw::gui
