#include "app/about_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_version.h"

namespace orv {

CAboutDlg::CAboutDlg(Language language, QWidget *parent) : QDialog(parent)
{
    setObjectName("CAboutDlg");
    setWindowTitle(language == Language::English ? QStringLiteral("About Orvalin")
                                                 : QStringLiteral("Orvalin のﾊﾞｰｼﾞｮﾝ情報"));
    auto *logo = new QLabel(this);
    logo->setPixmap(QPixmap(QStringLiteral(":/orvalin/logo.svg")));
    auto *name = new QLabel(QStringLiteral("Orvalin ver. ") + QLatin1String(kAppVersion), this);
    name->setObjectName("aboutVersion");
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(logo);
    layout->addWidget(name);
    layout->addWidget(buttons);
}

}  // namespace orv
