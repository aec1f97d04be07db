/* Stand-in for the communication library KVCom_x64: opens and closes the COM server mode of an
 * industrial PC over a serial line with a small text protocol.
 *
 * Channels: up to KVC_MAX_CHANNELS numbered 1..KVC_MAX_CHANNELS; each open channel is one serial port.
 *
 * Line protocol (ASCII, every line ends with CR LF; the stand-in is the requester):
 *
 *   request  "kvc open <address> <module> <baud> <databits> <parity> <stopbits> <flow> <timeout s>"
 *            for example "kvc open 254 900103 115200 8 0 0 0 180"
 *   request  "kvc close <address>"
 *            for example "kvc close 254"
 *   answer   "=OK ComServer"      the request was carried out
 *   answer   "=NO Error=<code>"   the request was refused; <code> is a decimal number (may be negative)
 *
 * Before a request the unread input of the port is discarded. After it the stand-in reads lines until
 * an answer arrives or the channel's reply time-out runs out (the p_nTimeoutMs of KVCComOpenIV, at least
 * 100 ms and at most KVC_MAX_REPLY_MS). Lines that are neither answer are skipped; "=NO" without a
 * readable "Error=" code counts as KVC_ERR_BAD_REPLY.
 *
 * Error codes written by the stand-in itself are all negative, so they never clash with a peer's code
 * that is zero or positive (see KVC_ERR_ below).
 */
#ifndef KVCOM_STAND_IN_H
#define KVCOM_STAND_IN_H

/* Only these five functions leave the shared library, with plain C linkage. */
#if defined(KVCOM_STAND_IN_BUILD) && defined(__GNUC__)
#define KVC_VISIBLE __attribute__((visibility("default")))
#else
#define KVC_VISIBLE
#endif
#ifdef __cplusplus
#define KVC_EXPORT extern "C" KVC_VISIBLE
#else
#define KVC_EXPORT KVC_VISIBLE
#endif

#define KVC_MAX_CHANNELS 16
#define KVC_MAX_REPLY_MS 5000

#define KVC_ERR_NOT_OPEN -2  /* the channel is not open (or its number is outside 1..KVC_MAX_CHANNELS) */
#define KVC_ERR_TIMEOUT -3   /* no answer within the reply time-out */
#define KVC_ERR_WRITE -4     /* the request could not be written completely */
#define KVC_ERR_BAD_REPLY -5 /* "=NO" without a readable error code */
#define KVC_ERR_ARGUMENT -6  /* unusable module text: missing, empty, longer than 64 bytes, blanks in it */
#define KVC_ERR_IO -7        /* reading failed or the port went away while waiting */

/* Writes the NUL-terminated version text into p_szBuffer (cut to p_nSize - 1 characters when longer).
 * Returns non-zero; 0 when p_szBuffer is NULL or p_nSize < 1. */
KVC_EXPORT int KVCVersionLibrary(char* p_szBuffer, int p_nSize);

/* Opens serial port p_szInterface as channel p_nChannel at p_nBaud baud, 8N1, no flow control, raw.
 * A port name as the platform's port list gives it (ttyACM0, pts/5) means /dev/<name>; a name beginning
 * with "/", "./" or "../" is a path. p_nA and p_nB are accepted and not used. p_nTimeoutMs is the
 * channel's reply time-out. An open channel of the same number is closed first.
 * Returns non-zero when the port is open, 0 when it cannot be opened (no such port, unsupported baud
 * rate, bad channel number). */
KVC_EXPORT int KVCComOpenIV(int p_nChannel, int p_nA, int p_nB, const char* p_szInterface, int p_nBaud,
                            int p_nTimeoutMs);

/* Sends "kvc open ..." with the arguments in order (p_nTimeoutS is the idle time after which the
 * industrial PC leaves the mode by itself) and waits for the answer. Returns non-zero on "=OK ComServer";
 * 0 otherwise, with the reason in *p_pnError (the peer's code, or one of the KVC_ERR_ codes).
 * p_pnError may be NULL. */
KVC_EXPORT int KVCOpenComServerMode(int p_nChannel, int p_nAddress, const char* p_szModule, int p_nBaud,
                                    int p_nDataBits, int p_nParity, int p_nStopBits, int p_nFlow,
                                    int p_nTimeoutS, int* p_pnError);

/* Sends "kvc close <address>" and waits for the answer; results as KVCOpenComServerMode. */
KVC_EXPORT int KVCCloseComServerMode(int p_nChannel, int p_nAddress, int* p_pnError);

/* Closes the channel's port. Returns non-zero when a port was open, 0 otherwise. */
KVC_EXPORT int KVCComClose(int p_nChannel);

#endif
