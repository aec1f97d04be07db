// The lines every command must put on the wire, with and without parameters: one table for the
// protocol's own test and for the test of the real serial line.
#pragma once

#include "sensor/sensorProtocol.h"

#include <QtTest>

Q_DECLARE_METATYPE(sensor_n::command_t)

inline void addCommandLineRows(bool p_bWithSilentCommands)
{
    using sensor_n::command_t;
    QTest::addColumn<command_t>("command");
    QTest::addColumn<QVariantMap>("params");
    QTest::addColumn<QByteArray>("line");

    const QVariantMap none;
    if (p_bWithSilentCommands)
    {
        QTest::newRow("---") << command_t::NoCommand << none << QByteArray();
        QTest::newRow("Cancel") << command_t::Cancel << none << QByteArray("\x03", 1);
        QTest::newRow("outside the table") << static_cast<command_t>(23) << none << QByteArray();
    }
    QTest::newRow("ModelFw") << command_t::ModelFw << none << QByteArray("model_fw\r\n");
    QTest::newRow("Date") << command_t::Date << none << QByteArray("date\r\n");
    QTest::newRow("Time") << command_t::Time << none << QByteArray("time\r\n");
    QTest::newRow("LedOn") << command_t::LedOn << none << QByteArray("LedOn\r\n");
    QTest::newRow("LedOff") << command_t::LedOff << none << QByteArray("LedOff\r\n");
    QTest::newRow("Scan") << command_t::Scan << none << QByteArray("scan\r\n");
    QTest::newRow("RegCount") << command_t::RegCount << none << QByteArray("reg /count\r\n");
    QTest::newRow("Max") << command_t::Max << none << QByteArray("max\r\n");
    QTest::newRow("TempalteFormat") << command_t::TempalteFormat << QVariantMap{{"format", 2}}
                                    << QByteArray("temp_set 2\r\n");
    QTest::newRow("TempalteFormat bare") << command_t::TempalteFormat << none << QByteArray("temp_set \r\n");
    QTest::newRow("Search") << command_t::Search << QVariantMap{{"group", 3}} << QByteArray("search 3\r\n");
    QTest::newRow("Search bare") << command_t::Search << none << QByteArray("search 0\r\n");
    QTest::newRow("ReadImage") << command_t::ReadImage << QVariantMap{{"mode", 2}}
                               << QByteArray("read_image2\r\n");
    QTest::newRow("ReadImage bare") << command_t::ReadImage << none << QByteArray("read_image1\r\n");
    QTest::newRow("RegList") << command_t::RegList << none << QByteArray("reg /list\r\n");
    QTest::newRow("RegGet") << command_t::RegGet << QVariantMap{{"pid", 12}, {"fid", 7}}
                            << QByteArray("reg /get 12 7\r\n");
    QTest::newRow("RegGet bare") << command_t::RegGet << none << QByteArray("reg /get 0 0\r\n");
    QTest::newRow("EnrollDupFP") << command_t::EnrollDupFP
                                 << QVariantMap{{"pid", 5}, {"fid", 9}, {"group", 1}}
                                 << QByteArray("enroll_dupfp 5 1 9\r\n");
    QTest::newRow("EnrollDupFP bare")
        << command_t::EnrollDupFP << none << QByteArray("enroll_dupfp 0 0 0\r\n");
    QTest::newRow("SearchNoLed") << command_t::SearchNoLed << none << QByteArray("search 0\r\n");
    QTest::newRow("RegFind") << command_t::RegFind << QVariantMap{{"pid", 4}, {"fid", 2}}
                             << QByteArray("reg /find 4 2\r\n");
    QTest::newRow("RegFind abc") << command_t::RegFind << QVariantMap{{"pid", "abc"}}
                                 << QByteArray("reg /find abc 0\r\n");
    QTest::newRow("RegClear") << command_t::RegClear << none << QByteArray("reg /clear\r\n");
    QTest::newRow("RegDel") << command_t::RegDel << QVariantMap{{"pid", 4}, {"fid", 0}}
                            << QByteArray("reg /del 4 0\r\n");
    QTest::newRow("RegDel bare") << command_t::RegDel << none << QByteArray("reg /del 0 0\r\n");
    QTest::newRow("MatchIdNoLed") << command_t::MatchIdNoLed << QVariantMap{{"pid", 8}}
                                  << QByteArray("matchId 8\r\n");
    QTest::newRow("MatchId bare") << command_t::MatchId << none << QByteArray("matchId 0\r\n");
    QTest::newRow("FpSecurity") << command_t::FpSecurity << QVariantMap{{"value", "2"}}
                                << QByteArray("FpSecurity 2\r\n");
    QTest::newRow("FpSecurity bare") << command_t::FpSecurity << none << QByteArray("FpSecurity 0\r\n");
    // A parameter text with a placeholder of its own goes out as typed.
    QTest::newRow("placeholder in a parameter")
        << command_t::RegGet << QVariantMap{{"pid", "%2"}, {"fid", 1}} << QByteArray("reg /get %2 1\r\n");
}

// The window's chains as the simulated module records them ("\x03" is the abort byte).
namespace wire_n
{
// The information query that runs when a port opens or the information mode is chosen.
inline const QByteArrayList infoQuery = {"model_fw", "date", "time", "reg /count", "max", "LedOn"};

// The finger list walk of a person: abort, LED off, one look-up per finger id, LED on.
inline QByteArrayList walkOf(int p_nPid)
{
    QByteArrayList lstWire = {"\x03", "LedOff"};
    for (int nFid = 0; nFid < 10; ++nFid)
        lstWire << "reg /find " + QByteArray::number(p_nPid) + ' ' + QByteArray::number(nFid);
    return lstWire << "LedOn";
}

// One match statistics cycle from a security level on: level, LED off, the match cut short, LED on, the
// match, and a scan before each next level.
inline QByteArrayList matchCycle(const QByteArray& p_baPid, int p_nFromLevel = 0)
{
    QByteArrayList lstWire;
    for (int nLevel = p_nFromLevel; nLevel < 3; ++nLevel)
    {
        lstWire << "FpSecurity " + QByteArray::number(nLevel) << "LedOff"
                << "matchId " + p_baPid << "\x03"
                << "LedOn"
                << "matchId " + p_baPid;
        if (nLevel < 2)
            lstWire << "scan";
    }
    return lstWire;
}
} // namespace wire_n
