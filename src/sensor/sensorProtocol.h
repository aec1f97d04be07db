// The sensor module's wire format: commands, states, modes and their diagnostics texts (Qt Core only).
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

namespace sensor_n
{

// The module's commands; the value is what the running command holds.
enum class command_t : qint32
{
    NoCommand = 0, // "---": nothing is sent
    Cancel = 1,    // the abort byte, never the running command
    ModelFw = 2,
    Date = 3,
    Time = 4,
    LedOn = 5,
    LedOff = 6,
    Scan = 7,
    RegCount = 8,
    Max = 9,
    TempalteFormat = 10,
    Search = 11,
    ReadImage = 12,
    RegList = 13,
    RegGet = 14,
    EnrollDupFP = 15,
    SearchNoLed = 16,
    RegFind = 17,
    RegClear = 18,
    RegDel = 19,
    MatchIdNoLed = 20,
    MatchId = 21,
    FpSecurity = 22,
};

// States of the sensor dialogue; 7 to 12 are sub-states entered through the state stack.
enum class state_t : qint32
{
    Error = -1,
    Initial = 0,
    QueryDevice = 1,
    Scan = 2,
    Enroll = 3,
    Delete = 4,
    AnalyseSensor = 5,
    IdentificationStatistics = 6,
    SubSearch = 7,
    SubFingerInfo = 8,
    SubDelPersonFingers = 9,
    SubMatchId = 10,
    SubIdle = 11,
    SubEnroll = 12,
};

// What the technician asked for; a mode button's id is its mode number.
enum class mode_t : qint32
{
    Info = 0,
    Enroll = 1,
    Test = 2,
    Train = 3,
    Delete = 4,
    AnalyseSensor = 5,
    MatchIdAnalysis = 6,
};

// The abort byte that stops whatever the module is doing.
constexpr char abortByte = 0x03;

// Diagnostics texts: the name, then " (M", " (S" or " (C", the value and ")".
QString modeText(mode_t p_nMode);
QString stateText(state_t p_nState);
QString commandText(command_t p_nCommand);

// The bytes that go out on the wire for a command and its parameters; empty for "---" and unknown values.
// *p_pbInvalidPid tells whether a RegFind's PID is not a non-zero number (the line is built all the same).
QByteArray commandLine(command_t p_nCommand, const QVariantMap& p_mapParams, bool* p_pbInvalidPid = nullptr);

} // namespace sensor_n
