#include "sensor/replyFormat.h"
#include "serialPort/loggingSerialPort.h"
#include "ui/diagnosticText.h"
#include "ui/vindal01mainWindow.h"

#include <QDebug>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

#include <utility>

using namespace sensor_n;

namespace
{

// The sensor sends the bottom row first; every byte is a grey value.
QImage sensorImage(const char* p_pPayload, int p_nWidth, int p_nHeight)
{
    QImage image(p_nWidth, p_nHeight, QImage::Format_RGB32);
    const auto* pBytes = reinterpret_cast<const uchar*>(p_pPayload);
    for (int nRow = 0; nRow < p_nHeight; ++nRow)
    {
        auto* pLine = reinterpret_cast<QRgb*>(image.scanLine(p_nHeight - 1 - nRow));
        for (int nCol = 0; nCol < p_nWidth; ++nCol)
        {
            const uchar nGrey = pBytes[static_cast<qint64>(nRow) * p_nWidth + nCol];
            pLine[nCol] = qRgb(nGrey, nGrey, nGrey);
        }
    }
    return image;
}

} // namespace

void vindal01mainWindow_c::slotReadReady()
{
    if (m_pSerialPort == nullptr || m_bInReadSlot)
    {
        return;
    }
    m_bInReadSlot = true;
    readPending();
    processData();
    // Bytes that arrived while a completion waited or showed a box raise no readyRead of their own.
    while (m_pSerialPort != nullptr && m_pSerialPort->bytesAvailable() > 0)
    {
        readPending();
        processData();
    }
    m_bInReadSlot = false;
}

void vindal01mainWindow_c::processData()
{
    switch (m_nCommand)
    {
    case command_t::ReadImage:
        readImage();
        return;
    case command_t::RegGet:
        readTemplate();
        return;
    case command_t::RegList:
        processRegListLines(takeNewReplyLines());
        return;
    case command_t::EnrollDupFP:
        processEnrollLines(takeNewReplyLines());
        return;
    case command_t::NoCommand:
    case command_t::SearchNoLed:
    case command_t::MatchIdNoLed:
        qDebug() << "processData(): Unexpected command" << commandText(m_nCommand) << "in state"
                 << stateText(m_nState);
        break;
    default:
        break;
    }
    processReplyLines(takeNewReplyLines());
}

void vindal01mainWindow_c::processReplyLines(const QStringList& p_lstLines)
{
    const command_t nCommand = m_nCommand;
    const quint32 nStep = m_nDialogueStep;
    for (const QString& strLine : p_lstLines)
    {
        // Once a completion has sent the next command, the lines left over belong to the finished one and
        // must not complete the new command.
        if (m_nDialogueStep != nStep)
        {
            return;
        }
        const answer_t answer = answerTo(nCommand, strLine);
        if (answer.nKind == answerKind_t::Final)
        {
            // Having answered, the operation gives no late answer when it is aborted. The LED-less ones are
            // completed by their abort, whatever they answer.
            m_bOnWireAnswered = true;
            if (nCommand == command_t::RegClear || nCommand == command_t::RegDel)
            {
                m_sessionRecord.noteDeletionAnswer(strLine);
            }
            if (nCommand != command_t::SearchNoLed && nCommand != command_t::MatchIdNoLed)
            {
                commandCompleted(m_nCommand, answer.strText, false);
            }
        }
        else if (answer.nKind != answerKind_t::Progress)
        {
            strayLine(strLine, answer.nKind == answerKind_t::Foreign || recordsUnknownLines(nCommand));
        }
    }
}

void vindal01mainWindow_c::processRegListLines(const QStringList& p_lstLines)
{
    for (const QString& strLine : p_lstLines)
    {
        if (answerTo(command_t::RegList, strLine).nKind == answerKind_t::Final)
        {
            m_lstReplyLines.append(strLine);
        }
        else
        {
            strayLine(strLine, true);
        }
    }
    if (m_lstReplyLines.size() >= m_nRegCount)
    {
        m_lstRegList = m_lstReplyLines;
        m_sessionRecord.startTemplateTable(m_lstRegList.size());
        commandCompleted(m_nCommand, textUpToNul(m_baReceived), false);
    }
}

void vindal01mainWindow_c::processEnrollLines(const QStringList& p_lstLines)
{
    int nLastCode = -1;
    const quint32 nStep = m_nDialogueStep;
    for (const QString& strLine : p_lstLines)
    {
        if (m_nDialogueStep != nStep)
        {
            break;
        }
        const answer_t answer = answerTo(command_t::EnrollDupFP, strLine);
        nLastCode = answer.nStep == 0 ? 100 : answer.nStep;
        if (answer.nKind == answerKind_t::Foreign)
        {
            // Another operation's answer (a late one, after an abort) neither places a finger nor ends the
            // enrolment.
            strayLine(strLine, true);
        }
        else if (answer.nStep >= 1 && answer.nStep <= 3)
        {
            statusBar()->showMessage(tr("Bitte Finger auflegen (%1/3)").arg(answer.nStep));
        }
        else if (answer.nStep == 5)
        {
            m_bOnWireAnswered = true;
            const int nQuality = enrolmentQuality(strLine);
            if (nQuality >= 0)
            {
                qDebug() << "ENROLLMENT QUALITY IS" << nQuality;
            }
            popSubState();
            statusBar()->showMessage(nQuality > 0 ? tr("Mit Qualität %1% eingelernt.").arg(nQuality)
                                                  : tr("Fehler beim Einlernen."));
            commandCompleted(m_nCommand, strLine, false);
        }
        else if (answer.nStep == 99)
        {
            m_bOnWireAnswered = true;
            popSubState();
            statusBar()->showMessage(tr("Fehler beim Einlernen."));
            commandCompleted(m_nCommand, strLine, false);
        }
        else
        {
            qDebug() << "Unhandled Enrollment state" << nLastCode;
        }
    }
    qDebug() << p_lstLines << "=> state" << nLastCode;
}

void vindal01mainWindow_c::dropForeignLines()
{
    for (int nEnd = m_baReceived.indexOf("\r\n"); nEnd > 0; nEnd = m_baReceived.indexOf("\r\n"))
    {
        const QString strLine = textUpToNul(m_baReceived.left(nEnd));
        if (answerTo(m_nCommand, strLine).nKind != answerKind_t::Foreign)
        {
            return;
        }
        m_baReceived.remove(0, nEnd + 2);
        m_imageReception.reset();
        strayLine(strLine, true);
    }
}

void vindal01mainWindow_c::readTemplate()
{
    dropForeignLines();
    if (!m_baReceived.trimmed().startsWith("=OK"))
    {
        return;
    }
    statusBar()->showMessage(tr("Template erkannt, lese Daten."));
    const templateHeader_t header = parseTemplateHeader(m_baReceived);
    if (!header.bHasBytes || !header.bHasSum || !header.bHasLineEnd)
    {
        statusBar()->showMessage((header.bHasBytes ? QString() : tr("Anzahl Bytes fehlt. ")) +
                                 (header.bHasSum ? QString() : tr("Prüfsumme fehlt. ")) +
                                 (header.bHasLineEnd ? QString() : tr("Zeilenende fehlt. ")));
        return;
    }
    const QByteArray baPayload = m_baReceived.mid(header.nPayloadOffset);
    statusBar()->showMessage(
        tr("%1 / %2 Bytes des Templates gelesen").arg(baPayload.size()).arg(header.nCount));
    if (header.nCount > baPayload.size())
    {
        return;
    }
    statusBar()->showMessage(tr("%1 / %2 Bytes gelesen").arg(header.nCount).arg(baPayload.size()));
    const quint32 nComputed = payloadChecksum(baPayload);
    const quint32 nExpected = header.strSum.toUInt();
    if (nComputed != nExpected)
    {
        statusBar()->showMessage(tr("Prüfsumme des Templates fehlerhaft (erwartet %1, berechnet %2)")
                                     .arg(nExpected)
                                     .arg(nComputed));
        if (!std::exchange(m_bBadChecksumNoted, true))
        {
            m_sessionRecord.noteBadTemplate();
        }
        return;
    }
    addTemplateRow(baPayload);
    commandCompleted(m_nCommand, textUpToNul(baPayload), false);
}

void vindal01mainWindow_c::addTemplateRow(const QByteArray& p_baPayload)
{
    const int nPid = m_mapCommandParams.value(QStringLiteral("pid")).toInt();
    const int nFid = m_mapCommandParams.value(QStringLiteral("fid")).toInt();

    const int nQuality = p_baPayload.size() > 26 ? static_cast<quint8>(p_baPayload.at(26)) : 0;
    const int nMinutiae = p_baPayload.size() > 27 ? static_cast<quint8>(p_baPayload.at(27)) : 0;
    m_sessionRecord.addTemplate({nPid, nFid, nQuality, nMinutiae});

    auto* pItem = new QTreeWidgetItem();
    pItem->setData(0, Qt::DisplayRole, nPid);
    pItem->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    pItem->setText(1, humanHandWidget_c::fingerIdText(nFid));
    pItem->setData(2, Qt::DisplayRole, nQuality);
    pItem->setData(3, Qt::DisplayRole, nMinutiae);
    m_pTreeTemplates->addTopLevelItem(pItem);
}

void vindal01mainWindow_c::readImage()
{
    if (!m_imageReception.header().bComplete)
    {
        dropForeignLines();
    }
    // Only the bytes of this chunk are scanned and summed; the rest is known from the chunks before.
    m_imageReception.update(m_baReceived);
    const imageHeader_t& header = m_imageReception.header();
    if (!header.bComplete)
    {
        return;
    }
    for (const QString& strNote : header.lstDebug)
    {
        qDebug() << strNote;
    }
    const qint64 nPayload = m_imageReception.payloadSize();
    const char* pPayload = m_baReceived.constData() + header.nPayloadOffset;
    const qint64 nExpected = header.expectedSize();
    const quint32 nComputed = m_imageReception.payloadSum();
    qDebug() << header.strHeader << header.nWidth << header.nHeight << header.nSum << ") #BytesRead"
             << nPayload << "of" << nExpected << "COMPUTED CS" << nComputed;
    if (nExpected < 0)
    {
        // A header without a usable size never yields a picture; the command stays running like after a
        // checksum failure.
        statusBar()->showMessage(
            tr("Bildgröße im Bildkopf ungültig (Breite %1, Höhe %2)").arg(header.nWidth).arg(header.nHeight));
        return;
    }
    statusBar()->showMessage(tr("Bild lesen... %1%").arg(nPayload * 100 / nExpected));
    if (nPayload != nExpected)
    {
        return;
    }
    if (nComputed != header.nSum)
    {
        statusBar()->showMessage(tr("Prüfsumme des Bildes fehlerhaft (erwartet %1, berechnet %2)")
                                     .arg(header.nSum)
                                     .arg(nComputed));
        if (!std::exchange(m_bBadChecksumNoted, true))
        {
            m_sessionRecord.noteBadPicture();
        }
        return;
    }
    qDebug() << "IMAGE READING DONE.";
    const QImage image = sensorImage(pPayload, header.nWidth, header.nHeight);
    m_sessionRecord.notePicture(image);
    m_pLblImage->setPixmap(QPixmap::fromImage(image));
    commandCompleted(m_nCommand, QString(), false);
    statusBar()->showMessage(QString());
}
