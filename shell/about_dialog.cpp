// About box: three text fields (ids 1004, 1251, 2018) and OK (id 1).
#include "shell/about_dialog.h"

#include "shell/control_ids.h"
#include "shell/message_service.h"
#include "shell/notices.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace torva {
namespace {

// The lines joined by carriage return and line feed, as the fields hold them.
QString joined(const auto& lines) {
    QStringList parts;
    for (const char* line : lines)
        parts << QString::fromLatin1(line);
    return parts.join(QStringLiteral("\r\n"));
}

QLabel* field(const QString& id, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(id);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("IDD_ABOUT"));
    setWindowTitle(QString::fromLatin1(kAppTitle));

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/torva/icon.png"))
                        .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->addWidget(field(control_name(1004), joined(kNoticeLines), this));
    texts->addSpacing(8);
    texts->addWidget(field(control_name(1251), joined(kUsageTermsLines), this));
    texts->addSpacing(8);
    auto* version = field(control_name(2018), QString::fromStdString(version_text()), this);
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    texts->addWidget(version);

    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(control_name(1));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace torva
