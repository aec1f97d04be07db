#include "ui/vindal01mainWindow.h"

#include <QApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

void vindal01mainWindow_c::slotInfo()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Info"));
    auto* pGrid = new QGridLayout(&dialog);

    auto* pLblIcon = new QLabel(&dialog);
    // Through the icon, which draws from the 2x picture on a denser screen.
    pLblIcon->setPixmap(QIcon(QStringLiteral(":/icons/vindal01-tool.png")).pixmap(QSize(128, 128)));
    pGrid->addWidget(pLblIcon, 0, 0, 3, 1);
    pGrid->addWidget(new QLabel(tr("Fingerprint Tool for ORLAN Industrial PCs\n\n(optical fingerprint "
                                   "sensor, Art. 900101 / 900102)\n"),
                                &dialog),
                     0, 1);
    pGrid->addWidget(new QLabel(tr("Version: ") + QApplication::applicationVersion(), &dialog), 1, 1);
    pGrid->addWidget(
        new QLabel(tr("Service software for the fingerprint module of the ORLAN family."), &dialog), 2, 1);
    pGrid->setRowStretch(4, 1);

    auto* pButtons = new QHBoxLayout();
    auto* pBtnClose = new QPushButton(tr("Close"), &dialog);
    pButtons->addStretch();
    pButtons->addWidget(pBtnClose);
    pButtons->addStretch();
    pGrid->addLayout(pButtons, 5, 0, 1, 3);
    connect(pBtnClose, &QPushButton::clicked, &dialog, &QDialog::accept);

    dialog.exec();
}
