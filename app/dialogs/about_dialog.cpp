#include "app/dialogs/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/startup/app_version.h"

namespace orv {

AboutDialog::AboutDialog(Language language, QWidget *parent) :
    QDialog(parent)
{
    setObjectName("AboutDialog");
    setWindowTitle(language == Language::English ? QStringLiteral("About Orvalin")
                                                 : QStringLiteral("Orvalin のﾊﾞｰｼﾞｮﾝ情報"));
    auto *logo = new QLabel(this);
    logo->setPixmap(QPixmap(QStringLiteral(":/orvalin/logo.svg")));
    auto *name = new QLabel(QStringLiteral("Orvalin ver. ") + QLatin1String(AppVersion()), this);
    name->setObjectName("aboutVersion");
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AboutDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addWidget(buttons);
}

}  // namespace orv
