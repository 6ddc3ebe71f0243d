#pragma once

#include <QString>
#include <QWidget>

namespace cw::gui {

// What the checker says of one row, shown at its left edge by a marker "mark_r".
struct RowMark
{
    // In rising order: a row shows the gravest of its findings.
    enum class Severity { None, Note, Warning, Error };
    Severity severity = Severity::None;
    QString findings; // one per line, for the marker's tooltip
};

// A small mark at a row's left edge: nothing for a row without findings, a grey dot for
// notes, amber for warnings, red for an error. Its dynamic property "severity" names it
// ("none", "note", "warning", "error") for what cannot look at pixels, and its tooltip
// lists the row's findings.
class RowMarker : public QWidget
{
    Q_OBJECT
public:
    RowMarker(int row, QWidget *parent);
    void setMark(const RowMark &mark);
    RowMark::Severity severity() const { return m_severity; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    RowMark::Severity m_severity = RowMark::Severity::None;
};

} // namespace cw::gui
