<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>dataViewer_c</name>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Save content to</source>
        <translation>Save content to</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>File creation error</source>
        <translation>File creation error</translation>
    </message>
    <message>
        <source>Failed to create save file
%1.</source>
        <translation>Failed to create save file
%1.</translation>
    </message>
    <message>
        <source>Hex-Viewer</source>
        <translation>Hex viewer</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>humanHandWidget_c</name>
    <message>
        <source>thumb</source>
        <translation>thumb</translation>
    </message>
    <message>
        <source>index finger</source>
        <translation>index finger</translation>
    </message>
    <message>
        <source>middle finger</source>
        <translation>middle finger</translation>
    </message>
    <message>
        <source>ring finger</source>
        <translation>ring finger</translation>
    </message>
    <message>
        <source>little finger</source>
        <translation>little finger</translation>
    </message>
    <message>
        <source>left</source>
        <translation>left</translation>
    </message>
    <message>
        <source>right</source>
        <translation>right</translation>
    </message>
    <message>
        <source>Unknown Finger ID %1</source>
        <translation>Unknown Finger ID %1</translation>
    </message>
    <message>
        <source>Unknown Location %1</source>
        <translation>Unknown Location %1</translation>
    </message>
</context>
<context>
    <name>serialLogReader_c</name>
    <message>
        <source>Date/Time</source>
        <translation>Date/Time</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Number of Bytes</source>
        <translation>Number of Bytes</translation>
    </message>
    <message>
        <source>Select serial trace to open</source>
        <translation>Select serial trace to open</translation>
    </message>
    <message>
        <source>Serial Log (serial*.log);;All files (*.*)</source>
        <translation>Serial Log (serial*.log);;All files (*.*)</translation>
    </message>
    <message>
        <source>File open error</source>
        <translation>File open error</translation>
    </message>
    <message>
        <source>Failed to open file
&quot;%1&quot;.</source>
        <translation>Failed to open file
&quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>Select file</translation>
    </message>
</context>
<context>
    <name>serialPort_n::selector_c</name>
    <message>
        <source>Update serial port list</source>
        <translation>Update serial port list</translation>
    </message>
</context>
<context>
    <name>serialPort_n::setupDialog_c</name>
    <message>
        <source>Update serial port list</source>
        <translation>Update serial port list</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>Data Bits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>Stop Bits</translation>
    </message>
    <message>
        <source>Flow Control</source>
        <translation>Flow Control</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Accept</translation>
    </message>
    <message>
        <source>Reject</source>
        <translation>Reject</translation>
    </message>
</context>
<context>
    <name>vindal01mainWindow_c</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Fingerprint Tool for ORLAN Industrial PCs

(optical fingerprint sensor, Art. 900101 / 900102)
</source>
        <translation>Fingerprint Tool for ORLAN Industrial PCs

(optical fingerprint sensor, Art. 900101 / 900102)
</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Service software for the fingerprint module of the ORLAN family.</source>
        <translation>Service software for the fingerprint module of the ORLAN family.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Kommunikations-DLL nicht gefunden</source>
        <translation>Communication DLL not found</translation>
    </message>
    <message>
        <source>Die Kommunikations-DLL konnte nicht gefunden werden. Damit ist das Starten dess Transparent-Modus für den Zugriff auf das Fingerprint-Modul im IPC nicht möglich.</source>
        <translation>The communication DLL could not be found. The transparent mode for access to the fingerprint module in the IPC therefore cannot be started.</translation>
    </message>
    <message>
        <source>Einlernen von Fingern (optischer Sensor)</source>
        <translation>Enrolling fingers (optical sensor)</translation>
    </message>
    <message>
        <source>Bitte Finger auflegen</source>
        <translation>Please place a finger</translation>
    </message>
    <message>
        <source>Sensordaten lesen...</source>
        <translation>Reading sensor data...</translation>
    </message>
    <message>
        <source>Sensordaten lesen... </source>
        <translation>Reading sensor data... </translation>
    </message>
    <message>
        <source>Identifizieren...</source>
        <translation>Identifying...</translation>
    </message>
    <message>
        <source>Informationen auslesen</source>
        <translation>Reading information</translation>
    </message>
    <message>
        <source>Einlernen</source>
        <translation>Enroll</translation>
    </message>
    <message>
        <source>Bild erfassen</source>
        <translation>Capturing image</translation>
    </message>
    <message>
        <source>Identifizieren und Trainiern</source>
        <translation>Identifying and training</translation>
    </message>
    <message>
        <source>Finger löschen</source>
        <translation>Deleting fingers</translation>
    </message>
    <message>
        <source>Sensordaten analysieren</source>
        <translation>Analyse sensor data</translation>
    </message>
    <message>
        <source>MatchID Statistical Analysis</source>
        <translation>MatchID Statistical Analysis</translation>
    </message>
    <message>
        <source>Bitte IPC-Schnittstelle auswählen</source>
        <translation>Please choose the IPC interface</translation>
    </message>
    <message>
        <source>COM:</source>
        <translation>COM:</translation>
    </message>
    <message>
        <source>Öffnen der Schnittstelle fehlgeschlagen.</source>
        <translation>Opening the interface failed.</translation>
    </message>
    <message>
        <source>Das Herstellen der Verbindung zum Gerät %1 ist fehlgeschlagen.</source>
        <translation>Connecting to the device %1 failed.</translation>
    </message>
    <message>
        <source>Bitte Modul im IPC eingeben:</source>
        <translation>Please enter the module in the IPC:</translation>
    </message>
    <message>
        <source>Modul</source>
        <translation>Module</translation>
    </message>
    <message>
        <source>COM-Server-Mode hergestellt</source>
        <translation>COM server mode established</translation>
    </message>
    <message>
        <source>Der COM-Server-Mode für wurde erfolgreich hergestellt.</source>
        <translation>The COM server mode was established successfully.</translation>
    </message>
    <message>
        <source>COM-Server-Mode fehlgeschlagen.</source>
        <translation>COM server mode failed.</translation>
    </message>
    <message>
        <source>Das Öffnen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen</source>
        <translation>Opening the COM server mode failed with error code %1</translation>
    </message>
    <message>
        <source>Schließen des COM-Server-Mode fehlgeschlagen.</source>
        <translation>Closing the COM server mode failed.</translation>
    </message>
    <message>
        <source>Das Schließen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen</source>
        <translation>Closing the COM server mode failed with error code %1</translation>
    </message>
    <message>
        <source>Einzelnen Finger löschen?</source>
        <translation>Delete a single finger?</translation>
    </message>
    <message>
        <source>Wollen Sie wirklich den Finger %1 der Person %2 löschen?</source>
        <translation>Do you really want to delete finger %1 of person %2?</translation>
    </message>
    <message>
        <source>Finger einer Person löschen?</source>
        <translation>Delete the fingers of a person?</translation>
    </message>
    <message>
        <source>Wollen Sie wirklich alle Finger der Person %2 löschen?</source>
        <translation>Do you really want to delete all fingers of person %2?</translation>
    </message>
    <message>
        <source>Alle Finger löschen?</source>
        <translation>Delete all fingers?</translation>
    </message>
    <message>
        <source>Wollen Sie wirklich alle Finger vom Sensor löschen?</source>
        <translation>Do you really want to delete all fingers from the sensor?</translation>
    </message>
    <message>
        <source>Finger nicht erkannt</source>
        <translation>Finger not recognised</translation>
    </message>
    <message>
        <source>Bitte neu auflegen</source>
        <translation>Please place again</translation>
    </message>
    <message>
        <source>Bitte Finger vom Sensor entfernen und neu auflegen!

Dann Ok betätigen!</source>
        <translation>Please lift the finger off the sensor and place it again!

Then press Ok!</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Finger already enrolled.</source>
        <translation>Finger already enrolled.</translation>
    </message>
    <message>
        <source>Internal Error</source>
        <translation>Internal Error</translation>
    </message>
    <message>
        <source>Invalid PID specified</source>
        <translation>Invalid PID specified</translation>
    </message>
    <message>
        <source>No Personal ID specified</source>
        <translation>No Personal ID specified</translation>
    </message>
    <message>
        <source>Invalid Group ID specified</source>
        <translation>Invalid Group ID specified</translation>
    </message>
    <message>
        <source>No Group ID specified</source>
        <translation>No Group ID specified</translation>
    </message>
    <message>
        <source>Invalid Finger ID specified</source>
        <translation>Invalid Finger ID specified</translation>
    </message>
    <message>
        <source>No Finger ID specified</source>
        <translation>No Finger ID specified</translation>
    </message>
    <message>
        <source>Bitte Finger auflegen (%1/3)</source>
        <translation>Please place the finger (%1/3)</translation>
    </message>
    <message>
        <source>Mit Qualität %1% eingelernt.</source>
        <translation>Enrolled with quality %1%.</translation>
    </message>
    <message>
        <source>Fehler beim Einlernen.</source>
        <translation>Enrolment failed.</translation>
    </message>
    <message>
        <source>Template erkannt, lese Daten.</source>
        <translation>Template recognised, reading data.</translation>
    </message>
    <message>
        <source>Anzahl Bytes fehlt. </source>
        <translation>Byte count missing. </translation>
    </message>
    <message>
        <source>Prüfsumme fehlt. </source>
        <translation>Checksum missing. </translation>
    </message>
    <message>
        <source>Zeilenende fehlt. </source>
        <translation>Line end missing. </translation>
    </message>
    <message>
        <source>%1 / %2 Bytes des Templates gelesen</source>
        <translation>%1 / %2 bytes of the template read</translation>
    </message>
    <message>
        <source>%1 / %2 Bytes gelesen</source>
        <translation>%1 / %2 bytes read</translation>
    </message>
    <message>
        <source>Prüfsumme des Templates fehlerhaft (erwartet %1, berechnet %2)</source>
        <translation>Wrong template checksum (expected %1, computed %2)</translation>
    </message>
    <message>
        <source>Bildgröße im Bildkopf ungültig (Breite %1, Höhe %2)</source>
        <translation>Invalid picture size in the image header (width %1, height %2)</translation>
    </message>
    <message>
        <source>Bild lesen... %1%</source>
        <translation>Reading image... %1%</translation>
    </message>
    <message>
        <source>Prüfsumme des Bildes fehlerhaft (erwartet %1, berechnet %2)</source>
        <translation>Wrong image checksum (expected %1, computed %2)</translation>
    </message>
    <message>
        <source>Fingerprint Error</source>
        <translation>Fingerprint Error</translation>
    </message>
    <message>
        <source>Port %1 geöffnet</source>
        <translation>Port %1 opened</translation>
    </message>
    <message>
        <source>Öffnen von Port %1 fehlgeschlagen</source>
        <translation>Opening port %1 failed</translation>
    </message>
    <message>
        <source>Port %1 ausgefallen: %2</source>
        <translation>Port %1 failed: %2</translation>
    </message>
    <message>
        <source>Sensor:</source>
        <translation>Sensor:</translation>
    </message>
    <message>
        <source>Start Fingerprint Sensor Access</source>
        <translation>Start Fingerprint Sensor Access</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>Stop Fingerprint Sensor Access</source>
        <translation>Stop Fingerprint Sensor Access</translation>
    </message>
    <message>
        <source>Bild</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Training</source>
        <translation>Training</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Sensor Info</source>
        <translation>Sensor Info</translation>
    </message>
    <message>
        <source>Firmware:</source>
        <translation>Firmware:</translation>
    </message>
    <message>
        <source>Firmware Build Date:</source>
        <translation>Firmware Build Date:</translation>
    </message>
    <message>
        <source>Firmware Build Time:</source>
        <translation>Firmware Build Time:</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Capacity:</translation>
    </message>
    <message>
        <source>Enroll</source>
        <translation>Enroll</translation>
    </message>
    <message>
        <source>Personal ID:</source>
        <translation>Personal ID:</translation>
    </message>
    <message>
        <source>Finger ID:</source>
        <translation>Finger ID:</translation>
    </message>
    <message>
        <source>Group ID:</source>
        <translation>Group ID:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Train</source>
        <translation>Train</translation>
    </message>
    <message>
        <source>Erase fingerprint data</source>
        <translation>Erase fingerprint data</translation>
    </message>
    <message>
        <source>Remove single
finger</source>
        <translation>Remove single
finger</translation>
    </message>
    <message>
        <source>Remove fingers
of person</source>
        <translation>Remove fingers
of person</translation>
    </message>
    <message>
        <source>Remove all
finger</source>
        <translation>Remove all
finger</translation>
    </message>
    <message>
        <source>Personal ID</source>
        <translation>Personal ID</translation>
    </message>
    <message>
        <source>Finger ID</source>
        <translation>Finger ID</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>Minutiae</source>
        <translation>Minutiae</translation>
    </message>
    <message>
        <source>MatchId Statistics</source>
        <translation>MatchId Statistics</translation>
    </message>
    <message>
        <source>Save image</source>
        <translation>Save image</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation>Save failed</translation>
    </message>
    <message>
        <source>The picture could not be encoded as PNG.</source>
        <translation>The picture could not be encoded as PNG.</translation>
    </message>
    <message>
        <source>Save image...</source>
        <translation>Save image...</translation>
    </message>
    <message>
        <source>Copy image</source>
        <translation>Copy image</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Save as CSV...</source>
        <translation>Save as CSV...</translation>
    </message>
    <message>
        <source>Save as CSV</source>
        <translation>Save as CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>The file %1 could not be saved:
%2</source>
        <translation>The file %1 could not be saved:
%2</translation>
    </message>
    <message>
        <source>Verbindung zum Sensor verloren: Der Adapter an Port %1 wurde abgezogen oder ist ausgefallen.</source>
        <translation>Connection to the sensor lost: the adapter on port %1 was unplugged or has failed.</translation>
    </message>
    <message>
        <source>Einlernen abgebrochen.</source>
        <translation>Enrolment cancelled.</translation>
    </message>
    <message>
        <source>Watchdog at %1</source>
        <translation>Watchdog at %1</translation>
    </message>
    <message>
        <source>Unexpected sensor responses</source>
        <translation>Unexpected sensor responses</translation>
    </message>
    <message>
        <source>Serial commands</source>
        <translation>Serial commands</translation>
    </message>
    <message>
        <source>Serial ports</source>
        <translation>Serial ports</translation>
    </message>
    <message>
        <source>Serial error log</source>
        <translation>Serial error log</translation>
    </message>
    <message>
        <source>person %1, %2</source>
        <translation>person %1, %2</translation>
    </message>
    <message>
        <source>no finger deleted</source>
        <translation>no finger deleted</translation>
    </message>
    <message>
        <source>deleted: %1</source>
        <translation>deleted: %1</translation>
    </message>
    <message>
        <source>succeeded</source>
        <translation>succeeded</translation>
    </message>
    <message>
        <source>the interface could not be opened</source>
        <translation>the interface could not be opened</translation>
    </message>
    <message>
        <source>failed with error code %1</source>
        <translation>failed with error code %1</translation>
    </message>
    <message>
        <source>Port opened</source>
        <translation>Port opened</translation>
    </message>
    <message>
        <source>opened</source>
        <translation>opened</translation>
    </message>
    <message>
        <source>could not be opened</source>
        <translation>could not be opened</translation>
    </message>
    <message>
        <source>Enrolment</source>
        <translation>Enrolment</translation>
    </message>
    <message>
        <source>enrolled with quality %1%</source>
        <translation>enrolled with quality %1%</translation>
    </message>
    <message>
        <source>refused: %1 (%2)</source>
        <translation>refused: %1 (%2)</translation>
    </message>
    <message>
        <source>Deletion of a finger</source>
        <translation>Deletion of a finger</translation>
    </message>
    <message>
        <source>Deletion of a person&apos;s fingers</source>
        <translation>Deletion of a person&apos;s fingers</translation>
    </message>
    <message>
        <source>person %1</source>
        <translation>person %1</translation>
    </message>
    <message>
        <source>Deletion of all fingers</source>
        <translation>Deletion of all fingers</translation>
    </message>
    <message>
        <source>COM server mode started</source>
        <translation>COM server mode started</translation>
    </message>
    <message>
        <source>COM server mode stopped</source>
        <translation>COM server mode stopped</translation>
    </message>
    <message>
        <source>Adapter lost</source>
        <translation>Adapter lost</translation>
    </message>
    <message>
        <source>Watchdog alarm</source>
        <translation>Watchdog alarm</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Module</translation>
    </message>
    <message>
        <source>Read at:</source>
        <translation>Read at:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>no USB ids</source>
        <translation>no USB ids</translation>
    </message>
    <message>
        <source>serial number %1</source>
        <translation>serial number %1</translation>
    </message>
    <message>
        <source>Adapter:</source>
        <translation>Adapter:</translation>
    </message>
    <message>
        <source>Operations</source>
        <translation>Operations</translation>
    </message>
    <message>
        <source>The %1 oldest operations are not listed; the statistics count them.</source>
        <translation>The %1 oldest operations are not listed; the statistics count them.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Subject</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>Identifications:</source>
        <translation>Identifications:</translation>
    </message>
    <message>
        <source>%1, of which %2 recognised</source>
        <translation>%1, of which %2 recognised</translation>
    </message>
    <message>
        <source>Last identification:</source>
        <translation>Last identification:</translation>
    </message>
    <message>
        <source>Match statistics:</source>
        <translation>Match statistics:</translation>
    </message>
    <message>
        <source>Unexpected responses:</source>
        <translation>Unexpected responses:</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Templates</translation>
    </message>
    <message>
        <source>Analysed at %1: the module holds no templates.</source>
        <translation>Analysed at %1: the module holds no templates.</translation>
    </message>
    <message>
        <source>Analysed at %1: %2 of %3 listed templates read.</source>
        <translation>Analysed at %1: %2 of %3 listed templates read.</translation>
    </message>
    <message>
        <source>Service report</source>
        <translation>Service report</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>Written at %1 by vindal01-tool version %2; the session began at %3.</source>
        <translation>Written at %1 by vindal01-tool version %2; the session began at %3.</translation>
    </message>
    <message>
        <source>Nothing was read from a module in this session.</source>
        <translation>Nothing was read from a module in this session.</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>Save as PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>Service report...</source>
        <translation>Service report...</translation>
    </message>
    <message>
        <source>Service report... (%1)</source>
        <translation>Service report... (%1)</translation>
    </message>
    <message>
        <source>module code %1</source>
        <translation>module code %1</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>deleted</translation>
    </message>
    <message>
        <source>was not stored</source>
        <translation>was not stored</translation>
    </message>
    <message>
        <source>refused (%1)</source>
        <translation>refused (%1)</translation>
    </message>
    <message>
        <source>cut off after %1 of %2 answers</source>
        <translation>cut off after %1 of %2 answers</translation>
    </message>
    <message>
        <source>%1 of %2 answers so far</source>
        <translation>%1 of %2 answers so far</translation>
    </message>
    <message>
        <source>cut off before the module answered</source>
        <translation>cut off before the module answered</translation>
    </message>
    <message>
        <source>no answer yet</source>
        <translation>no answer yet</translation>
    </message>
    <message>
        <source>all fingers deleted</source>
        <translation>all fingers deleted</translation>
    </message>
    <message>
        <source>failed: the module reported no quality</source>
        <translation>failed: the module reported no quality</translation>
    </message>
    <message>
        <source>cancelled before the module answered: the personal ID was changed</source>
        <translation>cancelled before the module answered: the personal ID was changed</translation>
    </message>
    <message>
        <source>cancelled before the module answered: another page was chosen</source>
        <translation>cancelled before the module answered: another page was chosen</translation>
    </message>
    <message>
        <source>cancelled before the module answered: a port was chosen</source>
        <translation>cancelled before the module answered: a port was chosen</translation>
    </message>
    <message>
        <source>cancelled before the module answered: the adapter was lost</source>
        <translation>cancelled before the module answered: the adapter was lost</translation>
    </message>
    <message>
        <source>the module answered afterwards: %1</source>
        <translation>the module answered afterwards: %1</translation>
    </message>
    <message>
        <source>while the module&apos;s information was read</source>
        <translation>while the module&apos;s information was read</translation>
    </message>
    <message>
        <source>while the module was set up</source>
        <translation>while the module was set up</translation>
    </message>
    <message>
        <source>while the sensor was asked for a finger</source>
        <translation>while the sensor was asked for a finger</translation>
    </message>
    <message>
        <source>while a finger was identified</source>
        <translation>while a finger was identified</translation>
    </message>
    <message>
        <source>while a finger was matched</source>
        <translation>while a finger was matched</translation>
    </message>
    <message>
        <source>while the picture was read</source>
        <translation>while the picture was read</translation>
    </message>
    <message>
        <source>while the templates were read</source>
        <translation>while the templates were read</translation>
    </message>
    <message>
        <source>while a person&apos;s fingers were read</source>
        <translation>while a person&apos;s fingers were read</translation>
    </message>
    <message>
        <source>while fingers were deleted</source>
        <translation>while fingers were deleted</translation>
    </message>
    <message>
        <source>while no command was running</source>
        <translation>while no command was running</translation>
    </message>
    <message>
        <source>the connection to the module broke off (%1)</source>
        <translation>the connection to the module broke off (%1)</translation>
    </message>
    <message>
        <source>no answer within 5 s %1</source>
        <translation>no answer within 5 s %1</translation>
    </message>
    <message>
        <source>Visit</source>
        <translation>Visit</translation>
    </message>
    <message>
        <source>Technician:</source>
        <translation>Technician:</translation>
    </message>
    <message>
        <source>Customer or site:</source>
        <translation>Customer or site:</translation>
    </message>
    <message>
        <source>Industrial PC (serial or asset number):</source>
        <translation>Industrial PC (serial or asset number):</translation>
    </message>
    <message>
        <source>Remarks:</source>
        <translation>Remarks:</translation>
    </message>
    <message>
        <source>The module answered on port %1 at %2: firmware %3 of %4 %5, %6 of %7 templates stored.</source>
        <translation>The module answered on port %1 at %2: firmware %3 of %4 %5, %6 of %7 templates stored.</translation>
    </message>
    <message>
        <source>No module answered on port %1, chosen at %2.</source>
        <translation>No module answered on port %1, chosen at %2.</translation>
    </message>
    <message>
        <source>Port %1 could not be opened at %2.</source>
        <translation>Port %1 could not be opened at %2.</translation>
    </message>
    <message>
        <source>A sensor picture arrived complete with a correct checksum at %1 (%2 x %3 pixels); its grey values lie between %4 and %5, spread %6.</source>
        <translation>A sensor picture arrived complete with a correct checksum at %1 (%2 x %3 pixels); its grey values lie between %4 and %5, spread %6.</translation>
    </message>
    <message>
        <source>The picture has almost no contrast: clean the sensor and check that the finger lies flat on it.</source>
        <translation>The picture has almost no contrast: clean the sensor and check that the finger lies flat on it.</translation>
    </message>
    <message>
        <source>%1 of %2 templates the module listed were read with correct checksums at %3.</source>
        <translation>%1 of %2 templates the module listed were read with correct checksums at %3.</translation>
    </message>
    <message>
        <source>%1 of %2 identifications recognised a stored finger.</source>
        <translation>%1 of %2 identifications recognised a stored finger.</translation>
    </message>
    <message>
        <source>%1 of %2 enrolments stored the finger.</source>
        <translation>%1 of %2 enrolments stored the finger.</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>Findings</translation>
    </message>
    <message>
        <source>%1 on port %2</source>
        <translation>%1 on port %2</translation>
    </message>
    <message>
        <source>not recognised</source>
        <translation>not recognised</translation>
    </message>
    <message>
        <source>Personal ID %1, until %2</source>
        <translation>Personal ID %1, until %2</translation>
    </message>
    <message>
        <source>%1 of %2 matched (%3)</source>
        <translation>%1 of %2 matched (%3)</translation>
    </message>
    <message>
        <source>Late answers of aborted operations:</source>
        <translation>Late answers of aborted operations:</translation>
    </message>
    <message>
        <source>Read at %1, %2 x %3 pixels; grey values %4 to %5, mean %6, spread %7.</source>
        <translation>Read at %1, %2 x %3 pixels; grey values %4 to %5, mean %6, spread %7.</translation>
    </message>
    <message>
        <source> (low)</source>
        <translation> (low)</translation>
    </message>
    <message>
        <source>Signatures</source>
        <translation>Signatures</translation>
    </message>
    <message>
        <source>The customer has read this report.</source>
        <translation>The customer has read this report.</translation>
    </message>
    <message>
        <source>Technician, %1</source>
        <translation>Technician, %1</translation>
    </message>
    <message>
        <source>Customer, %1</source>
        <translation>Customer, %1</translation>
    </message>
    <message>
        <source>Service visit</source>
        <translation>Service visit</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Enrolments, deletions or other work of this visit are in no saved or printed service report yet. Make the report before closing?</source>
        <translation>Enrolments, deletions or other work of this visit are in no saved or printed service report yet. Make the report before closing?</translation>
    </message>
    <message>
        <source>Make the report</source>
        <translation>Make the report</translation>
    </message>
    <message>
        <source>Close without it</source>
        <translation>Close without it</translation>
    </message>
    <message>
        <source>Stay</source>
        <translation>Stay</translation>
    </message>
    <message>
        <source>Pictures with a wrong checksum: %1.</source>
        <translation>Pictures with a wrong checksum: %1.</translation>
    </message>
    <message>
        <source>%1 of them with a quality below %2%: enrol these fingers again: %3.</source>
        <translation>%1 of them with a quality below %2%: enrol these fingers again: %3.</translation>
    </message>
    <message>
        <source>Templates with a wrong checksum: %1.</source>
        <translation>Templates with a wrong checksum: %1.</translation>
    </message>
    <message>
        <source>Connections to the module lost: %1.</source>
        <translation>Connections to the module lost: %1.</translation>
    </message>
    <message>
        <source>Watchdog alarms, the module not answering: %1.</source>
        <translation>Watchdog alarms, the module not answering: %1.</translation>
    </message>
    <message>
        <source>Lines from the module that answered nothing asked of it: %1.</source>
        <translation>Lines from the module that answered nothing asked of it: %1.</translation>
    </message>
</context>
</TS>
