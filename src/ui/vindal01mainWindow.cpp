#include "vindal01mainWindow.h"

#include "serialPort/loggingSerialPort.h"
#include "serialPort/portList.h"
#include "serialPort/portRecord.h"
#include "serialPort/selector.h"
#include "ui/images.h"
#include "ui/keepResults.h"
#include "ui/serviceReport.h"
#include "viewers/serialLogReader.h"

#include <QAction>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{

// Hidden parts of the window are offered to a technician who knows these chords.
const QKeySequence g_keyToggleDebug(Qt::CTRL + Qt::SHIFT + Qt::Key_D);
const QKeySequence g_keyStatistics(Qt::CTRL + Qt::SHIFT + Qt::Key_M);

QGroupBox* newPage(QStackedWidget* p_pStack, const QString& p_strTitle, QGridLayout** p_ppGrid)
{
    auto* pPage = new QGroupBox(p_strTitle, p_pStack);
    *p_ppGrid = new QGridLayout(pPage);
    return pPage;
}

} // namespace

vindal01mainWindow_c::vindal01mainWindow_c(QWidget* parent) : QMainWindow(parent)
{
    // The diagnostic windows are top-level: their titles tell them apart in the task bar.
    m_pUnexpectedResponses = new QTextBrowser();
    m_pUnexpectedResponses->setWindowTitle(tr("Unexpected sensor responses"));
    m_pUnexpectedResponses->hide();
    m_pSerialCommands = new QPlainTextEdit();
    m_pSerialCommands->setWindowTitle(tr("Serial commands"));
    m_pSerialCommands->hide();
    setStoreBounds(m_storeBounds);

    buildToolBar();

    m_pLblPortState = new QLabel(statusBar());
    statusBar()->addPermanentWidget(m_pLblPortState, 0);
    showPortLamp(images_n::lampYellow(), QString());

    auto* pCentral = new QWidget(this);
    pCentral->setStyleSheet(QStringLiteral("font-size: 16px;"));
    setCentralWidget(pCentral);
    auto* pVBox = new QVBoxLayout(pCentral);
    buildModeButtons(pVBox);

    m_pPageStack = new QStackedWidget(pCentral);
    pVBox->addWidget(m_pPageStack);
    buildPages();
    m_pPageStack->setCurrentIndex(m_anPageIndex[static_cast<int>(mode_t::Info)]);

    connect(m_pPortSelector, &serialPort_n::selector_c::portChanged, this,
            &vindal01mainWindow_c::slotPortChanged);

    m_pWatchdogTimer = new QTimer(this);
    m_pWatchdogTimer->setSingleShot(true);
    m_pWatchdogTimer->setInterval(5000);
    connect(m_pWatchdogTimer, &QTimer::timeout, this, &vindal01mainWindow_c::slotWatchdog);
    m_pIdleTimer = new QTimer(this);
    m_pIdleTimer->setInterval(2500);
    connect(m_pIdleTimer, &QTimer::timeout, this, &vindal01mainWindow_c::slotIdle);
    m_pLateAnswerTimer = new QTimer(this);
    m_pLateAnswerTimer->setSingleShot(true);
    connect(m_pLateAnswerTimer, &QTimer::timeout, this, &vindal01mainWindow_c::slotLateAnswerWindow);
    m_lateAnswerClock.start();

    // The sensor sits behind the first adapter with these ids.
    const QStringList lstSensorPorts = portNamesByUsbId(0x0403, 0x6001);
    if (!lstSensorPorts.isEmpty())
    {
        m_pPortSelector->setPort(lstSensorPorts.first());
        slotPortChanged(lstSensorPorts.first());
    }

    m_pSerialPorts = new QTextBrowser();
    m_pSerialPorts->setWindowTitle(tr("Serial ports"));
    m_pSerialPorts->setPlainText(serialPort_n::portListText(serialPort_n::availablePortRecords()));
    m_pSerialPorts->hide();

    buildDebugMenu();

    auto* pShortcutDebug = new QShortcut(g_keyToggleDebug, this);
    connect(pShortcutDebug, &QShortcut::activated, this,
            [this]()
            {
                QAction* pActDebug = findChild<QAction*>(QStringLiteral("actionDebug"));
                pActDebug->setVisible(!pActDebug->isVisible());
            });
    auto* pShortcutStatistics = new QShortcut(g_keyStatistics, this);
    connect(pShortcutStatistics, &QShortcut::activated, this,
            [this]() { slotModeSelected(static_cast<int>(mode_t::MatchIdAnalysis)); });

    // Start and the delete buttons follow the person and finger fields, whoever fills them.
    for (QLineEdit* pField : {m_pLeEnrollPid, m_pLeEnrollFid, m_pLeDeletePid, m_pLeDeleteFid})
    {
        connect(pField, &QLineEdit::textChanged, this, &vindal01mainWindow_c::updateControls);
    }
    updateControls();
}

vindal01mainWindow_c::~vindal01mainWindow_c()
{
    delete m_pSerialPort;
    delete m_pUnexpectedResponses;
    delete m_pSerialCommands;
    delete m_pSerialPorts;
    delete m_pSerialErrorLog;
}

QStringList vindal01mainWindow_c::portNamesByUsbId(quint16 p_nVendorId, quint16 p_nProductId)
{
    return serialPort_n::portNamesByUsbId(serialPort_n::availablePortRecords(), p_nVendorId, p_nProductId);
}

void vindal01mainWindow_c::buildToolBar()
{
    QToolBar* pToolBar = addToolBar(QStringLiteral("Main"));
    pToolBar->addWidget(new QLabel(tr("Sensor:"), pToolBar));

    m_pPortSelector = new serialPort_n::selector_c(pToolBar);
    m_pPortSelector->setUpdateButtonVisible(false);
    m_pPortSelector->setMaximumWidth(30 * QFontMetrics(font()).horizontalAdvance(QLatin1Char('b')));
    pToolBar->addWidget(m_pPortSelector);

    m_pActStartComServer = pToolBar->addAction(images_n::start(), tr("Start Fingerprint Sensor Access"));
    m_pActStartComServer->setObjectName(QStringLiteral("actionStartComServer"));
    connect(m_pActStartComServer, SIGNAL(triggered()), this, SLOT(slotAutoStartComServer()));
    auto* pMenuStart = new QMenu();
    QAction* pActManual = pMenuStart->addAction(tr("Manual"));
    pActManual->setObjectName(QStringLiteral("actionManualStartComServer"));
    connect(pActManual, SIGNAL(triggered()), this, SLOT(slotStartComServer()));
    m_pActStartComServer->setMenu(pMenuStart);
    // The action keeps its own click; the menu opens on the arrow beside it, one click away.
    qobject_cast<QToolButton*>(pToolBar->widgetForAction(m_pActStartComServer))
        ->setPopupMode(QToolButton::MenuButtonPopup);
    // The menu has no parent; it goes with the window.
    connect(this, &QObject::destroyed, [pMenuStart]() { delete pMenuStart; });

    m_pActStopComServer = pToolBar->addAction(images_n::stop(), tr("Stop Fingerprint Sensor Access"));
    m_pActStopComServer->setObjectName(QStringLiteral("actionStopComServer"));
    connect(m_pActStopComServer, SIGNAL(triggered()), this, SLOT(slotStopComServer()));

    pToolBar->addSeparator();
    QAction* pActInfo = pToolBar->addAction(images_n::info(), tr("Info"));
    pActInfo->setObjectName(QStringLiteral("actionInfo"));
    connect(pActInfo, SIGNAL(triggered()), this, SLOT(slotInfo()));

    m_pActServiceReport =
        pToolBar->addAction(QIcon(QStringLiteral(":/icons/service-report.png")), tr("Service report..."));
    m_pActServiceReport->setObjectName(QStringLiteral("actionServiceReport"));
    m_pActServiceReport->setShortcut(QKeySequence::Print);
    m_pActServiceReport->setToolTip(
        tr("Service report... (%1)").arg(m_pActServiceReport->shortcut().toString(QKeySequence::NativeText)));
    connect(m_pActServiceReport, &QAction::triggered, this, &vindal01mainWindow_c::slotServiceReport);
}

void vindal01mainWindow_c::slotServiceReport()
{
    if (serviceReport_n::askVisit(this, m_serviceVisit) &&
        serviceReport_n::showPreview(this, m_sessionRecord, m_serviceVisit))
    {
        m_sessionRecord.noteReportKept();
    }
}

void vindal01mainWindow_c::buildModeButtons(QVBoxLayout* p_pLayout)
{
    auto* pHBox = new QHBoxLayout();
    pHBox->setSpacing(4);
    p_pLayout->addLayout(pHBox);

    auto* pGroup = new QButtonGroup(this);
    pGroup->setExclusive(true);
    struct modeButton_t
    {
        const char* szText;
        const char* szIcon;
        mode_t nMode;
    };
    // Screen order differs from the mode numbers: "Bild" stands before "Einlernen".
    const modeButton_t aButtons[] = {
        {QT_TR_NOOP("Info"), ":/icons/fingerprint-info.png", mode_t::Info},
        {QT_TR_NOOP("Bild"), ":/icons/fingerprint-image.png", mode_t::Test},
        {QT_TR_NOOP("Einlernen"), ":/icons/fingerprint-add.png", mode_t::Enroll},
        {QT_TR_NOOP("Training"), ":/icons/fingerprint-person.png", mode_t::Train},
        {QT_TR_NOOP("Löschen"), ":/icons/fingerprint-delete.png", mode_t::Delete},
        {QT_TR_NOOP("Analyse"), ":/icons/fingerprint-analyse.png", mode_t::AnalyseSensor},
    };
    for (const modeButton_t& button : aButtons)
    {
        auto* pButton = new QToolButton(centralWidget());
        pButton->setCheckable(true);
        pButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        pButton->setIconSize(QSize(56, 56));
        pButton->setText(tr(button.szText));
        pButton->setIcon(QIcon(QString::fromLatin1(button.szIcon)));
        pButton->setObjectName(QStringLiteral("modeButton%1").arg(static_cast<int>(button.nMode)));
        pHBox->addWidget(pButton);
        pGroup->addButton(pButton, static_cast<int>(button.nMode));
        if (button.nMode == mode_t::Info)
        {
            pButton->setChecked(true);
        }
    }
    pHBox->addStretch(1);
    connect(pGroup, SIGNAL(buttonClicked(int)), this, SLOT(slotModeSelected(int)));
}

void vindal01mainWindow_c::buildPages()
{
    QGridLayout* pGrid = nullptr;

    QGroupBox* pInfo = newPage(m_pPageStack, tr("Sensor Info"), &pGrid);
    m_pLblFirmware = new QLabel(pInfo);
    m_pLblBuildDate = new QLabel(pInfo);
    m_pLblBuildTime = new QLabel(pInfo);
    m_pLblCapacity = new QLabel(pInfo);
    pGrid->addWidget(new QLabel(tr("Firmware:"), pInfo), 0, 1);
    pGrid->addWidget(m_pLblFirmware, 0, 2);
    pGrid->addWidget(new QLabel(tr("Firmware Build Date:"), pInfo), 1, 1);
    pGrid->addWidget(m_pLblBuildDate, 1, 2);
    pGrid->addWidget(new QLabel(tr("Firmware Build Time:"), pInfo), 2, 1);
    pGrid->addWidget(m_pLblBuildTime, 2, 2);
    pGrid->addWidget(new QLabel(tr("Capacity:"), pInfo), 3, 1);
    pGrid->addWidget(m_pLblCapacity, 3, 2);
    pGrid->setRowStretch(4, 1);
    m_anPageIndex[static_cast<int>(mode_t::Info)] = m_pPageStack->addWidget(pInfo);

    QGroupBox* pEnroll = newPage(m_pPageStack, tr("Enroll"), &pGrid);
    m_pLeEnrollPid = new QLineEdit(pEnroll);
    pGrid->addWidget(new QLabel(tr("Personal ID:"), pEnroll), 0, 0);
    pGrid->addWidget(m_pLeEnrollPid, 0, 1);
    auto* pEnrollHands = new QHBoxLayout();
    m_pEnrollHandLeft = new humanHandWidget_c(humanHandWidget_c::handLeft, pEnroll);
    m_pEnrollHandRight = new humanHandWidget_c(humanHandWidget_c::handRight, pEnroll);
    pEnrollHands->addWidget(m_pEnrollHandLeft);
    pEnrollHands->addWidget(m_pEnrollHandRight);
    pGrid->addLayout(pEnrollHands, 1, 0, 1, 2);
    pGrid->setRowStretch(1, 1);
    m_pLeEnrollFid = new QLineEdit(pEnroll);
    pGrid->addWidget(new QLabel(tr("Finger ID:"), pEnroll), 2, 0);
    pGrid->addWidget(m_pLeEnrollFid, 2, 1);
    auto* pLblGroup = new QLabel(tr("Group ID:"), pEnroll);
    m_pLeEnrollGroup = new QLineEdit(QStringLiteral("1"), pEnroll);
    pGrid->addWidget(pLblGroup, 3, 0);
    pGrid->addWidget(m_pLeEnrollGroup, 3, 1);
    pLblGroup->hide();
    m_pLeEnrollGroup->hide();
    auto* pEnrollButtons = new QHBoxLayout();
    m_pBtnEnrollStart = new QPushButton(tr("Start"), pEnroll);
    pEnrollButtons->addStretch(1);
    pEnrollButtons->addWidget(m_pBtnEnrollStart);
    pEnrollButtons->addStretch(1);
    pGrid->addLayout(pEnrollButtons, 4, 0, 1, 2);
    m_anPageIndex[static_cast<int>(mode_t::Enroll)] = m_pPageStack->addWidget(pEnroll);
    connect(m_pLeEnrollPid, &QLineEdit::textChanged, this, &vindal01mainWindow_c::slotEnrollPidChanged);
    connect(m_pEnrollHandLeft, &humanHandWidget_c::fingerClicked, this,
            &vindal01mainWindow_c::slotEnrollFingerClicked);
    connect(m_pEnrollHandRight, &humanHandWidget_c::fingerClicked, this,
            &vindal01mainWindow_c::slotEnrollFingerClicked);
    connect(m_pBtnEnrollStart, &QPushButton::clicked, this, &vindal01mainWindow_c::slotEnrollStart);

    QGroupBox* pImage = newPage(m_pPageStack, tr("Image"), &pGrid);
    m_pLblImage = new QLabel(pImage);
    keepResults_n::offerImage(m_pLblImage);
    pGrid->addWidget(m_pLblImage, 1, 1);
    pGrid->setRowStretch(0, 1);
    pGrid->setRowStretch(2, 1);
    pGrid->setColumnStretch(0, 1);
    pGrid->setColumnStretch(2, 1);
    m_anPageIndex[static_cast<int>(mode_t::Test)] = m_pPageStack->addWidget(pImage);

    QGroupBox* pTrain = newPage(m_pPageStack, tr("Train"), &pGrid);
    m_pTrainHandLeft = new humanHandWidget_c(humanHandWidget_c::handLeft, pTrain);
    m_pTrainHandRight = new humanHandWidget_c(humanHandWidget_c::handRight, pTrain);
    pGrid->addWidget(m_pTrainHandLeft, 0, 0);
    pGrid->addWidget(m_pTrainHandRight, 0, 1);
    pGrid->setRowStretch(0, 1);
    m_pLblTrainPid = new QLabel(pTrain);
    m_pLblTrainFinger = new QLabel(pTrain);
    pGrid->addWidget(new QLabel(tr("Personal ID:"), pTrain), 1, 0);
    pGrid->addWidget(m_pLblTrainPid, 1, 1);
    pGrid->addWidget(new QLabel(tr("Finger ID:"), pTrain), 2, 0);
    pGrid->addWidget(m_pLblTrainFinger, 2, 1);
    m_anPageIndex[static_cast<int>(mode_t::Train)] = m_pPageStack->addWidget(pTrain);

    QGroupBox* pDelete = newPage(m_pPageStack, tr("Erase fingerprint data"), &pGrid);
    m_pLeDeletePid = new QLineEdit(pDelete);
    pGrid->addWidget(new QLabel(tr("Personal ID:"), pDelete), 0, 0);
    pGrid->addWidget(m_pLeDeletePid, 0, 1);
    auto* pDeleteHands = new QHBoxLayout();
    m_pDeleteHandLeft = new humanHandWidget_c(humanHandWidget_c::handLeft, pDelete);
    m_pDeleteHandRight = new humanHandWidget_c(humanHandWidget_c::handRight, pDelete);
    pDeleteHands->addWidget(m_pDeleteHandLeft);
    pDeleteHands->addWidget(m_pDeleteHandRight);
    pGrid->addLayout(pDeleteHands, 1, 0, 1, 2);
    pGrid->setRowStretch(1, 1);
    m_pLeDeleteFid = new QLineEdit(pDelete);
    pGrid->addWidget(new QLabel(tr("Finger ID:"), pDelete), 2, 0);
    pGrid->addWidget(m_pLeDeleteFid, 2, 1);
    auto* pDeleteButtons = new QHBoxLayout();
    m_pBtnDeleteSingle = new QPushButton(tr("Remove single\nfinger"), pDelete);
    m_pBtnDeletePerson = new QPushButton(tr("Remove fingers\nof person"), pDelete);
    m_pBtnDeleteAll = new QPushButton(tr("Remove all\nfinger"), pDelete);
    pDeleteButtons->addWidget(m_pBtnDeleteSingle);
    pDeleteButtons->addWidget(m_pBtnDeletePerson);
    pDeleteButtons->addWidget(m_pBtnDeleteAll);
    pGrid->addLayout(pDeleteButtons, 3, 0, 1, 2);
    m_anPageIndex[static_cast<int>(mode_t::Delete)] = m_pPageStack->addWidget(pDelete);
    connect(m_pLeDeletePid, &QLineEdit::textChanged, this, &vindal01mainWindow_c::slotDeletePidChanged);
    connect(m_pDeleteHandLeft, &humanHandWidget_c::fingerClicked, this,
            &vindal01mainWindow_c::slotDeleteFingerClicked);
    connect(m_pDeleteHandRight, &humanHandWidget_c::fingerClicked, this,
            &vindal01mainWindow_c::slotDeleteFingerClicked);
    connect(m_pBtnDeleteSingle, &QPushButton::clicked, this, &vindal01mainWindow_c::slotDeleteSingleFinger);
    connect(m_pBtnDeletePerson, &QPushButton::clicked, this, &vindal01mainWindow_c::slotDeletePersonFingers);
    connect(m_pBtnDeleteAll, &QPushButton::clicked, this, &vindal01mainWindow_c::slotDeleteAllFingers);

    QGroupBox* pAnalyse = newPage(m_pPageStack, tr("Sensordaten analysieren"), &pGrid);
    m_pTreeTemplates = new QTreeWidget(pAnalyse);
    m_pTreeTemplates->setStyleSheet(QStringLiteral("font-size: 12px;"));
    m_pTreeTemplates->setSortingEnabled(true);
    m_pTreeTemplates->setHeaderLabels({tr("Personal ID"), tr("Finger ID"), tr("Quality"), tr("Minutiae")});
    keepResults_n::offerTable(m_pTreeTemplates);
    pGrid->addWidget(m_pTreeTemplates, 0, 0);
    m_anPageIndex[static_cast<int>(mode_t::AnalyseSensor)] = m_pPageStack->addWidget(pAnalyse);

    QGroupBox* pStatistics = newPage(m_pPageStack, tr("MatchId Statistics"), &pGrid);
    m_pLeMatchIdPid = new QLineEdit(pStatistics);
    pGrid->addWidget(new QLabel(tr("Personal ID:"), pStatistics), 0, 0);
    pGrid->addWidget(m_pLeMatchIdPid, 0, 1);
    m_pMatchIdStatistics = new QTextBrowser(pStatistics);
    QFont fontStatistics = m_pMatchIdStatistics->font();
    fontStatistics.setFamily(QStringLiteral("Courier"));
    m_pMatchIdStatistics->setFont(fontStatistics);
    pGrid->addWidget(m_pMatchIdStatistics, 1, 0, 1, 2);
    m_anPageIndex[static_cast<int>(mode_t::MatchIdAnalysis)] = m_pPageStack->addWidget(pStatistics);
    connect(m_pLeMatchIdPid, &QLineEdit::textChanged, this,
            &vindal01mainWindow_c::slotMatchIdStatisticsPidChanged);
}

void vindal01mainWindow_c::buildDebugMenu()
{
    QToolBar* pToolBar = findChild<QToolBar*>();
    QAction* pActDebug = pToolBar->addAction(images_n::debug(), QStringLiteral("Debug"));
    pActDebug->setObjectName(QStringLiteral("actionDebug"));
    auto* pMenu = new QMenu();
    connect(this, &QObject::destroyed, [pMenu]() { delete pMenu; });

    m_pActSerialLogging = pMenu->addAction(QStringLiteral("Start serial logging"));
    m_pActSerialLogging->setCheckable(true);
    connect(m_pActSerialLogging, SIGNAL(triggered()), this, SLOT(slotDebugEnableSerialLogging()));
    m_pActWatchdog = pMenu->addAction(QStringLiteral("Enable serial Watchdog"));
    m_pActWatchdog->setCheckable(true);
    QAction* pActPorts = pMenu->addAction(QStringLiteral("Show serial ports"));
    connect(pActPorts, SIGNAL(triggered()), m_pSerialPorts, SLOT(show()));
    m_pSerialErrorLog = new serialLogReader_c(nullptr);
    m_pSerialErrorLog->setWindowTitle(tr("Serial error log"));
    m_pSerialErrorLog->hide();
    QAction* pActErrorLog = pMenu->addAction(QStringLiteral("Show serial error log"));
    connect(pActErrorLog, SIGNAL(triggered()), m_pSerialErrorLog, SLOT(show()));
    QAction* pActCommands = pMenu->addAction(QStringLiteral("Show serial commands"));
    connect(pActCommands, SIGNAL(triggered()), m_pSerialCommands, SLOT(show()));
    QAction* pActUnexpected = pMenu->addAction(QStringLiteral("Show unexpected sensor reponses"));
    connect(pActUnexpected, SIGNAL(triggered()), m_pUnexpectedResponses, SLOT(show()));

    pActDebug->setMenu(pMenu);
    // "Debug" does nothing of its own, so a plain click opens its menu.
    qobject_cast<QToolButton*>(pToolBar->widgetForAction(pActDebug))->setPopupMode(QToolButton::InstantPopup);
    pActDebug->setVisible(false);
}

void vindal01mainWindow_c::showPortLamp(const QPixmap& p_pixLamp, const QString& p_strToolTip)
{
    // 16 pixels high at the program's scale, from the lamp drawn for the screen's density.
    const qreal dRatio = p_pixLamp.devicePixelRatioF();
    QPixmap pixShown = p_pixLamp.scaledToHeight(qRound(16 * dRatio), Qt::SmoothTransformation);
    pixShown.setDevicePixelRatio(dRatio);
    m_pLblPortState->setPixmap(pixShown);
    m_pLblPortState->setToolTip(p_strToolTip);
}
