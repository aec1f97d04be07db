/* Stand-in for the communication library KVCom_x64 (see kvcomStandIn.h for the line protocol). */
#define _DEFAULT_SOURCE

#include "kvcomStandIn.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#define KVC_VERSION_TEXT "KVCom_x64 stand-in 1.0 (serial line protocol)"
#define KVC_MIN_REPLY_MS 100
#define KVC_MAX_LINE 256

typedef struct
{
    int m_bOpen;
    int m_nFd;
    int m_nReplyMs;
} channel_t;

/* Index 0 stays unused so that the channel number is the index. */
static channel_t s_aChannels[KVC_MAX_CHANNELS + 1];

static channel_t* openChannel(int p_nChannel)
{
    if (p_nChannel < 1 || p_nChannel > KVC_MAX_CHANNELS || !s_aChannels[p_nChannel].m_bOpen)
    {
        return NULL;
    }
    return &s_aChannels[p_nChannel];
}

static void setError(int* p_pnError, int p_nCode)
{
    if (p_pnError)
    {
        *p_pnError = p_nCode;
    }
}

static int baudConstant(int p_nBaud, speed_t* p_pnSpeed)
{
    static const struct
    {
        int m_nBaud;
        speed_t m_nSpeed;
    } aRates[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},    {9600, B9600},
                  {19200, B19200},   {38400, B38400},   {57600, B57600},  {115200, B115200},
                  {230400, B230400}, {460800, B460800}, {921600, B921600}};
    for (size_t i = 0; i < sizeof(aRates) / sizeof(aRates[0]); ++i)
    {
        if (aRates[i].m_nBaud == p_nBaud)
        {
            *p_pnSpeed = aRates[i].m_nSpeed;
            return 1;
        }
    }
    return 0;
}

static long long nowMs(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

static int remainingMs(long long p_nDeadline)
{
    long long nLeft = p_nDeadline - nowMs();
    return nLeft > 0 ? (int)nLeft : 0;
}

static int writeAll(int p_nFd, const char* p_pData, size_t p_nSize, long long p_nDeadline)
{
    size_t nDone = 0;
    while (nDone < p_nSize)
    {
        ssize_t n = write(p_nFd, p_pData + nDone, p_nSize - nDone);
        if (n > 0)
        {
            nDone += (size_t)n;
            continue;
        }
        if (n < 0 && errno == EINTR)
        {
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
        {
            return 0;
        }
        struct pollfd pfd = {p_nFd, POLLOUT, 0};
        int nLeft = remainingMs(p_nDeadline);
        if (nLeft == 0 || poll(&pfd, 1, nLeft) <= 0 || (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)))
        {
            return 0;
        }
    }
    return 1;
}

/* Reads lines until an answer arrives. Returns 1 for "=OK ComServer"; 0 with the code otherwise. */
static int awaitAnswer(int p_nFd, long long p_nDeadline, int* p_pnCode)
{
    char aLine[KVC_MAX_LINE];
    size_t nLine = 0;
    int bHungUp = 0;
    for (;;)
    {
        char ch = 0;
        ssize_t n = read(p_nFd, &ch, 1);
        if (n < 0 && errno == EINTR)
        {
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
        {
            /* A pseudo-terminal whose other side went away reads as an I/O error. */
            *p_pnCode = KVC_ERR_IO;
            return 0;
        }
        if (n <= 0)
        {
            /* Nothing to read: after a hang-up there never will be. */
            if (bHungUp)
            {
                *p_pnCode = KVC_ERR_IO;
                return 0;
            }
            struct pollfd pfd = {p_nFd, POLLIN, 0};
            int nLeft = remainingMs(p_nDeadline);
            if (nLeft == 0)
            {
                *p_pnCode = KVC_ERR_TIMEOUT;
                return 0;
            }
            int nReady = poll(&pfd, 1, nLeft);
            if (nReady < 0 && errno != EINTR)
            {
                *p_pnCode = KVC_ERR_IO;
                return 0;
            }
            if (nReady > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)))
            {
                bHungUp = 1;
            }
            continue;
        }
        if (ch != '\n')
        {
            /* An overlong line is no answer; keep its end only, which is skipped all the same. */
            if (nLine == sizeof(aLine) - 1)
            {
                nLine = 0;
            }
            aLine[nLine++] = ch;
            continue;
        }
        while (nLine > 0 && aLine[nLine - 1] == '\r')
        {
            --nLine;
        }
        aLine[nLine] = '\0';
        nLine = 0;
        if (strncmp(aLine, "=OK ComServer", 13) == 0)
        {
            return 1;
        }
        if (strncmp(aLine, "=NO", 3) == 0)
        {
            const char* pCode = strstr(aLine, "Error=");
            char* pEnd = NULL;
            long nCode = 0;
            if (pCode)
            {
                errno = 0;
                nCode = strtol(pCode + 6, &pEnd, 10);
            }
            if (!pCode || pEnd == pCode + 6 || errno == ERANGE || nCode < -2147483647L || nCode > 2147483647L)
            {
                *p_pnCode = KVC_ERR_BAD_REPLY;
            }
            else
            {
                *p_pnCode = (int)nCode;
            }
            return 0;
        }
        /* Anything else (an echo, a line of the module) is not meant for us. */
    }
}

static int request(int p_nChannel, const char* p_szLine, int* p_pnError)
{
    channel_t* pChannel = openChannel(p_nChannel);
    if (!pChannel)
    {
        setError(p_pnError, KVC_ERR_NOT_OPEN);
        return 0;
    }
    long long nDeadline = nowMs() + pChannel->m_nReplyMs;
    /* Bytes that arrived before the request cannot be its answer. */
    tcflush(pChannel->m_nFd, TCIFLUSH);
    if (!writeAll(pChannel->m_nFd, p_szLine, strlen(p_szLine), nDeadline))
    {
        setError(p_pnError, KVC_ERR_WRITE);
        return 0;
    }
    int nCode = 0;
    if (!awaitAnswer(pChannel->m_nFd, nDeadline, &nCode))
    {
        setError(p_pnError, nCode);
        return 0;
    }
    setError(p_pnError, 0);
    return 1;
}

int KVCVersionLibrary(char* p_szBuffer, int p_nSize)
{
    if (!p_szBuffer || p_nSize < 1)
    {
        return 0;
    }
    snprintf(p_szBuffer, (size_t)p_nSize, "%s", KVC_VERSION_TEXT);
    return 1;
}

int KVCComOpenIV(int p_nChannel, int p_nA, int p_nB, const char* p_szInterface, int p_nBaud, int p_nTimeoutMs)
{
    (void)p_nA;
    (void)p_nB;
    speed_t nSpeed = 0;
    if (p_nChannel < 1 || p_nChannel > KVC_MAX_CHANNELS || !p_szInterface || !*p_szInterface ||
        !baudConstant(p_nBaud, &nSpeed))
    {
        return 0;
    }
    KVCComClose(p_nChannel);

    /* Port names as the platform's port list gives them are relative to /dev, also those with a "/" in
     * them (pts/5); only an explicit path is taken as it is. */
    int bPath = p_szInterface[0] == '/' || strncmp(p_szInterface, "./", 2) == 0 ||
                strncmp(p_szInterface, "../", 3) == 0;
    char szPath[512];
    int nLength = bPath ? snprintf(szPath, sizeof(szPath), "%s", p_szInterface)
                        : snprintf(szPath, sizeof(szPath), "/dev/%s", p_szInterface);
    if (nLength < 0 || (size_t)nLength >= sizeof(szPath))
    {
        return 0;
    }
    int nFd = open(szPath, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (nFd < 0)
    {
        return 0;
    }
    struct termios tio;
    if (tcgetattr(nFd, &tio) != 0)
    {
        /* Not a serial port at all. */
        close(nFd);
        return 0;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~(tcflag_t)(CSTOPB | PARENB | CRTSCTS | CSIZE);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    /* With MIN 0 a read without data returns 0, which could not be told from a port that went away;
     * with MIN 1 and O_NONBLOCK it fails with EAGAIN instead, and 0 means end of file. */
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (cfsetispeed(&tio, nSpeed) != 0 || cfsetospeed(&tio, nSpeed) != 0 ||
        tcsetattr(nFd, TCSANOW, &tio) != 0)
    {
        close(nFd);
        return 0;
    }
    int nReplyMs = p_nTimeoutMs;
    if (nReplyMs < KVC_MIN_REPLY_MS)
    {
        nReplyMs = KVC_MIN_REPLY_MS;
    }
    if (nReplyMs > KVC_MAX_REPLY_MS)
    {
        nReplyMs = KVC_MAX_REPLY_MS;
    }
    s_aChannels[p_nChannel].m_bOpen = 1;
    s_aChannels[p_nChannel].m_nFd = nFd;
    s_aChannels[p_nChannel].m_nReplyMs = nReplyMs;
    return 1;
}

int KVCOpenComServerMode(int p_nChannel, int p_nAddress, const char* p_szModule, int p_nBaud, int p_nDataBits,
                         int p_nParity, int p_nStopBits, int p_nFlow, int p_nTimeoutS, int* p_pnError)
{
    /* The module text travels as one word of the request line. */
    if (!p_szModule || !*p_szModule || strlen(p_szModule) > 64)
    {
        setError(p_pnError, KVC_ERR_ARGUMENT);
        return 0;
    }
    for (const char* p = p_szModule; *p; ++p)
    {
        if ((unsigned char)*p <= ' ' || *p == 0x7f)
        {
            setError(p_pnError, KVC_ERR_ARGUMENT);
            return 0;
        }
    }
    char szLine[160];
    snprintf(szLine, sizeof(szLine), "kvc open %d %s %d %d %d %d %d %d\r\n", p_nAddress, p_szModule, p_nBaud,
             p_nDataBits, p_nParity, p_nStopBits, p_nFlow, p_nTimeoutS);
    return request(p_nChannel, szLine, p_pnError);
}

int KVCCloseComServerMode(int p_nChannel, int p_nAddress, int* p_pnError)
{
    char szLine[64];
    snprintf(szLine, sizeof(szLine), "kvc close %d\r\n", p_nAddress);
    return request(p_nChannel, szLine, p_pnError);
}

int KVCComClose(int p_nChannel)
{
    channel_t* pChannel = openChannel(p_nChannel);
    if (!pChannel)
    {
        return 0;
    }
    close(pChannel->m_nFd);
    pChannel->m_bOpen = 0;
    pChannel->m_nFd = -1;
    return 1;
}
