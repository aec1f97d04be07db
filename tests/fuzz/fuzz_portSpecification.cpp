// Fuzz target: the port specification text and its parameter tokens.
#include "fuzzSupport.h"
#include "serialPort/portSpecificationText.h"

#include <cstdlib>
#include <cstring>

using namespace serialPort_n;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize)
{
    fuzz_n::quietDebugChannel();
    const QByteArray baInput = fuzz_n::bytes(p_pData, p_nSize);
    for (const QString& strSpec : {QString::fromUtf8(baInput), QString::fromLatin1(baInput)})
    {
        QString strPort;
        QStringList lstFields;
        if (splitPortSpecification(strSpec, &strPort, &lstFields))
        {
            // It joins back to the same text, and a token read back from its value is the same token.
            const QSerialPort::BaudRate nBaud = baudRateFromString(lstFields.value(0));
            const QSerialPort::DataBits nData = dataBitsFromString(lstFields.value(1));
            if (lstFields.size() != c_nPortSpecificationFields ||
                joinPortSpecification(strPort, lstFields) != strSpec ||
                (nBaud != QSerialPort::UnknownBaud && baudRateToString(nBaud) != lstFields.at(0)) ||
                (nData != QSerialPort::UnknownDataBits && dataBitsToString(nData) != lstFields.at(1)))
                std::abort();
            parityToString(parityFromString(lstFields.at(2)));
            stopBitsToString(stopBitsFromString(lstFields.at(3)));
            flowControlToString(flowControlFromString(lstFields.at(4)));
        }
        else
            reportIllegalPortSpecification(strSpec);
    }
    // Arbitrary values on the way back to text: any 32-bit baud rate, and for the enumerations every value
    // an enumeration of their kind can hold (beyond that a value is not a valid enumeration at all).
    qint32 nValue = 0;
    std::memcpy(&nValue, baInput.leftJustified(4, '\0').constData(), sizeof nValue);
    baudRateToString(nValue);
    dataBitsToString(static_cast<QSerialPort::DataBits>(nValue % 16));
    parityToString(static_cast<QSerialPort::Parity>(nValue % 8));
    stopBitsToString(static_cast<QSerialPort::StopBits>(nValue % 4));
    flowControlToString(static_cast<QSerialPort::FlowControl>(nValue % 4));
    return 0;
}
