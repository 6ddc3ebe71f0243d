#include "gui/ui/NoticeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSizePolicy>
#include <QToolButton>

namespace cw::gui::ui {

NoticeBar::NoticeBar(QWidget *parent)
    : QFrame(parent), m_text(new QLabel(this)), m_dismiss(new QToolButton(this))
{
    setObjectName(QStringLiteral("noticeBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    m_text->setObjectName(QStringLiteral("noticeText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long message wraps: its width never sets the window's.
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    m_text->setSizePolicy(policy);
    m_text->setMinimumWidth(0);
    m_dismiss->setObjectName(QStringLiteral("noticeDismiss"));
    m_dismiss->setText(QStringLiteral("Dismiss"));
    m_dismiss->setToolTip(QStringLiteral("Hides this message"));
    connect(m_dismiss, &QToolButton::clicked, this, &NoticeBar::dismiss);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 3, 3);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_dismiss, 0, Qt::AlignTop);
    hide();
}

void NoticeBar::notify(const QString &text)
{
    m_text->setText(text);
    m_text->setAccessibleName(text);
    show();
}

void NoticeBar::dismiss()
{
    m_text->clear();
    hide();
}

QString NoticeBar::text() const
{
    return isHidden() ? QString() : m_text->text();
}

QString changeOnDiskNotice(const QString &name, ChangeTaken taken, const QString &holder)
{
    switch (taken) {
    case ChangeTaken::Gone:
        return QStringLiteral("%1 is no longer on disk: another program removed or renamed it").arg(name);
    case ChangeTaken::ReadAgain:
        return QStringLiteral("%1 was changed by another program and has been read again").arg(name);
    case ChangeTaken::EditsKept:
        break;
    }
    return QStringLiteral("%1 was changed by another program. %2 keeps your edits; saving asks before it "
                          "replaces that change")
        .arg(name, holder);
}

} // namespace cw::gui::ui
