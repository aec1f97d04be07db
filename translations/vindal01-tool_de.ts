<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>dataViewer_c</name>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save content to</source>
        <translation>Inhalt speichern unter</translation>
    </message>
    <message>
        <source>All files (*.*)</source>
        <translation>Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>File creation error</source>
        <translation>Fehler beim Anlegen der Datei</translation>
    </message>
    <message>
        <source>Failed to create save file
%1.</source>
        <translation>Die Datei konnte nicht angelegt werden
%1.</translation>
    </message>
    <message>
        <source>Hex-Viewer</source>
        <translation>Hex-Ansicht</translation>
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
        <translation>Daumen</translation>
    </message>
    <message>
        <source>index finger</source>
        <translation>Zeigefinger</translation>
    </message>
    <message>
        <source>middle finger</source>
        <translation>Mittelfinger</translation>
    </message>
    <message>
        <source>ring finger</source>
        <translation>Ringfinger</translation>
    </message>
    <message>
        <source>little finger</source>
        <translation>kleiner Finger</translation>
    </message>
    <message>
        <source>left</source>
        <translation>linker</translation>
    </message>
    <message>
        <source>right</source>
        <translation>rechter</translation>
    </message>
    <message>
        <source>Unknown Finger ID %1</source>
        <translation>Unbekannte Finger-ID %1</translation>
    </message>
    <message>
        <source>Unknown Location %1</source>
        <translation>Unbekannte Position %1</translation>
    </message>
</context>
<context>
    <name>serialLogReader_c</name>
    <message>
        <source>Date/Time</source>
        <translation>Datum/Uhrzeit</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Richtung</translation>
    </message>
    <message>
        <source>Number of Bytes</source>
        <translation>Anzahl Bytes</translation>
    </message>
    <message>
        <source>Select serial trace to open</source>
        <translation>Serielle Aufzeichnung öffnen</translation>
    </message>
    <message>
        <source>Serial Log (serial*.log);;All files (*.*)</source>
        <translation>Serielle Aufzeichnung (serial*.log);;Alle Dateien (*.*)</translation>
    </message>
    <message>
        <source>File open error</source>
        <translation>Fehler beim Öffnen der Datei</translation>
    </message>
    <message>
        <source>Failed to open file
&quot;%1&quot;.</source>
        <translation>Die Datei konnte nicht geöffnet werden
&quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Hauptleiste</translation>
    </message>
    <message>
        <source>Select File</source>
        <translation>Datei auswählen</translation>
    </message>
</context>
<context>
    <name>serialPort_n::selector_c</name>
    <message>
        <source>Update serial port list</source>
        <translation>Liste der seriellen Schnittstellen aktualisieren</translation>
    </message>
</context>
<context>
    <name>serialPort_n::setupDialog_c</name>
    <message>
        <source>Update serial port list</source>
        <translation>Liste der seriellen Schnittstellen aktualisieren</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Schnittstelle</translation>
    </message>
    <message>
        <source>Baudrate</source>
        <translation>Baudrate</translation>
    </message>
    <message>
        <source>Data Bits</source>
        <translation>Datenbits</translation>
    </message>
    <message>
        <source>Parity</source>
        <translation>Parität</translation>
    </message>
    <message>
        <source>Stop Bits</source>
        <translation>Stoppbits</translation>
    </message>
    <message>
        <source>Flow Control</source>
        <translation>Flusskontrolle</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Reject</source>
        <translation>Verwerfen</translation>
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
        <translation>Fingerprint-Tool für ORLAN-Industrie-PCs

(optischer Fingerprint-Sensor, Art. 900101 / 900102)
</translation>
    </message>
    <message>
        <source>Version: </source>
        <translation>Version: </translation>
    </message>
    <message>
        <source>Service software for the fingerprint module of the ORLAN family.</source>
        <translation>Service-Software für das Fingerprint-Modul der ORLAN-Familie.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Kommunikations-DLL nicht gefunden</source>
        <translation>Kommunikations-DLL nicht gefunden</translation>
    </message>
    <message>
        <source>Die Kommunikations-DLL konnte nicht gefunden werden. Damit ist das Starten dess Transparent-Modus für den Zugriff auf das Fingerprint-Modul im IPC nicht möglich.</source>
        <translation>Die Kommunikations-DLL konnte nicht gefunden werden. Damit ist das Starten dess Transparent-Modus für den Zugriff auf das Fingerprint-Modul im IPC nicht möglich.</translation>
    </message>
    <message>
        <source>Einlernen von Fingern (optischer Sensor)</source>
        <translation>Einlernen von Fingern (optischer Sensor)</translation>
    </message>
    <message>
        <source>Bitte Finger auflegen</source>
        <translation>Bitte Finger auflegen</translation>
    </message>
    <message>
        <source>Sensordaten lesen...</source>
        <translation>Sensordaten lesen...</translation>
    </message>
    <message>
        <source>Sensordaten lesen... </source>
        <translation>Sensordaten lesen... </translation>
    </message>
    <message>
        <source>Identifizieren...</source>
        <translation>Identifizieren...</translation>
    </message>
    <message>
        <source>Informationen auslesen</source>
        <translation>Informationen auslesen</translation>
    </message>
    <message>
        <source>Einlernen</source>
        <translation>Einlernen</translation>
    </message>
    <message>
        <source>Bild erfassen</source>
        <translation>Bild erfassen</translation>
    </message>
    <message>
        <source>Identifizieren und Trainiern</source>
        <translation>Identifizieren und Trainiern</translation>
    </message>
    <message>
        <source>Finger löschen</source>
        <translation>Finger löschen</translation>
    </message>
    <message>
        <source>Sensordaten analysieren</source>
        <translation>Sensordaten analysieren</translation>
    </message>
    <message>
        <source>MatchID Statistical Analysis</source>
        <translation>MatchID-Statistik</translation>
    </message>
    <message>
        <source>Bitte IPC-Schnittstelle auswählen</source>
        <translation>Bitte IPC-Schnittstelle auswählen</translation>
    </message>
    <message>
        <source>COM:</source>
        <translation>COM:</translation>
    </message>
    <message>
        <source>Öffnen der Schnittstelle fehlgeschlagen.</source>
        <translation>Öffnen der Schnittstelle fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Das Herstellen der Verbindung zum Gerät %1 ist fehlgeschlagen.</source>
        <translation>Das Herstellen der Verbindung zum Gerät %1 ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Bitte Modul im IPC eingeben:</source>
        <translation>Bitte Modul im IPC eingeben:</translation>
    </message>
    <message>
        <source>Modul</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>COM-Server-Mode hergestellt</source>
        <translation>COM-Server-Mode hergestellt</translation>
    </message>
    <message>
        <source>Der COM-Server-Mode für wurde erfolgreich hergestellt.</source>
        <translation>Der COM-Server-Mode für wurde erfolgreich hergestellt.</translation>
    </message>
    <message>
        <source>COM-Server-Mode fehlgeschlagen.</source>
        <translation>COM-Server-Mode fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Das Öffnen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen</source>
        <translation>Das Öffnen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>Schließen des COM-Server-Mode fehlgeschlagen.</source>
        <translation>Schließen des COM-Server-Mode fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Das Schließen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen</source>
        <translation>Das Schließen des COM-Server-Modes ist mit Fehlercode %1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>Einzelnen Finger löschen?</source>
        <translation>Einzelnen Finger löschen?</translation>
    </message>
    <message>
        <source>Wollen Sie wirklich den Finger %1 der Person %2 löschen?</source>
        <translation>Wollen Sie wirklich den Finger %1 der Person %2 löschen?</translation>
    </message>
    <message>
        <source>Finger einer Person löschen?</source>
        <translation>Finger einer Person löschen?</translation>
    </message>
    <message>
        <source>Wollen Sie wirklich alle Finger der Person %2 löschen?</source>
        <translation>Wollen Sie wirklich alle Finger der Person %2 löschen?</translation>
    </message>
    <message>
        <source>Alle Finger löschen?</source>
        <translation>Alle Finger löschen?</translation>
    </message>
    <message>
        <source>Wollen Sie wirklich alle Finger vom Sensor löschen?</source>
        <translation>Wollen Sie wirklich alle Finger vom Sensor löschen?</translation>
    </message>
    <message>
        <source>Finger nicht erkannt</source>
        <translation>Finger nicht erkannt</translation>
    </message>
    <message>
        <source>Bitte neu auflegen</source>
        <translation>Bitte neu auflegen</translation>
    </message>
    <message>
        <source>Bitte Finger vom Sensor entfernen und neu auflegen!

Dann Ok betätigen!</source>
        <translation>Bitte Finger vom Sensor entfernen und neu auflegen!

Dann Ok betätigen!</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Finger already enrolled.</source>
        <translation>Finger bereits eingelernt.</translation>
    </message>
    <message>
        <source>Internal Error</source>
        <translation>Interner Fehler</translation>
    </message>
    <message>
        <source>Invalid PID specified</source>
        <translation>Ungültige PID angegeben</translation>
    </message>
    <message>
        <source>No Personal ID specified</source>
        <translation>Keine Personen-ID angegeben</translation>
    </message>
    <message>
        <source>Invalid Group ID specified</source>
        <translation>Ungültige Gruppen-ID angegeben</translation>
    </message>
    <message>
        <source>No Group ID specified</source>
        <translation>Keine Gruppen-ID angegeben</translation>
    </message>
    <message>
        <source>Invalid Finger ID specified</source>
        <translation>Ungültige Finger-ID angegeben</translation>
    </message>
    <message>
        <source>No Finger ID specified</source>
        <translation>Keine Finger-ID angegeben</translation>
    </message>
    <message>
        <source>Bitte Finger auflegen (%1/3)</source>
        <translation>Bitte Finger auflegen (%1/3)</translation>
    </message>
    <message>
        <source>Mit Qualität %1% eingelernt.</source>
        <translation>Mit Qualität %1% eingelernt.</translation>
    </message>
    <message>
        <source>Fehler beim Einlernen.</source>
        <translation>Fehler beim Einlernen.</translation>
    </message>
    <message>
        <source>Template erkannt, lese Daten.</source>
        <translation>Template erkannt, lese Daten.</translation>
    </message>
    <message>
        <source>Anzahl Bytes fehlt. </source>
        <translation>Anzahl Bytes fehlt. </translation>
    </message>
    <message>
        <source>Prüfsumme fehlt. </source>
        <translation>Prüfsumme fehlt. </translation>
    </message>
    <message>
        <source>Zeilenende fehlt. </source>
        <translation>Zeilenende fehlt. </translation>
    </message>
    <message>
        <source>%1 / %2 Bytes des Templates gelesen</source>
        <translation>%1 / %2 Bytes des Templates gelesen</translation>
    </message>
    <message>
        <source>%1 / %2 Bytes gelesen</source>
        <translation>%1 / %2 Bytes gelesen</translation>
    </message>
    <message>
        <source>Prüfsumme des Templates fehlerhaft (erwartet %1, berechnet %2)</source>
        <translation>Prüfsumme des Templates fehlerhaft (erwartet %1, berechnet %2)</translation>
    </message>
    <message>
        <source>Bildgröße im Bildkopf ungültig (Breite %1, Höhe %2)</source>
        <translation>Bildgröße im Bildkopf ungültig (Breite %1, Höhe %2)</translation>
    </message>
    <message>
        <source>Bild lesen... %1%</source>
        <translation>Bild lesen... %1%</translation>
    </message>
    <message>
        <source>Prüfsumme des Bildes fehlerhaft (erwartet %1, berechnet %2)</source>
        <translation>Prüfsumme des Bildes fehlerhaft (erwartet %1, berechnet %2)</translation>
    </message>
    <message>
        <source>Fingerprint Error</source>
        <translation>Fingerprint-Fehler</translation>
    </message>
    <message>
        <source>Port %1 geöffnet</source>
        <translation>Port %1 geöffnet</translation>
    </message>
    <message>
        <source>Öffnen von Port %1 fehlgeschlagen</source>
        <translation>Öffnen von Port %1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>Port %1 ausgefallen: %2</source>
        <translation>Port %1 ausgefallen: %2</translation>
    </message>
    <message>
        <source>Sensor:</source>
        <translation>Sensor:</translation>
    </message>
    <message>
        <source>Start Fingerprint Sensor Access</source>
        <translation>Fingerprint-Sensor-Zugriff starten</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manuell</translation>
    </message>
    <message>
        <source>Stop Fingerprint Sensor Access</source>
        <translation>Fingerprint-Sensor-Zugriff beenden</translation>
    </message>
    <message>
        <source>Bild</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Training</source>
        <translation>Training</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation>Analyse</translation>
    </message>
    <message>
        <source>Sensor Info</source>
        <translation>Sensor-Info</translation>
    </message>
    <message>
        <source>Firmware:</source>
        <translation>Firmware:</translation>
    </message>
    <message>
        <source>Firmware Build Date:</source>
        <translation>Firmware-Erstellungsdatum:</translation>
    </message>
    <message>
        <source>Firmware Build Time:</source>
        <translation>Firmware-Erstellungszeit:</translation>
    </message>
    <message>
        <source>Capacity:</source>
        <translation>Kapazität:</translation>
    </message>
    <message>
        <source>Enroll</source>
        <translation>Einlernen</translation>
    </message>
    <message>
        <source>Personal ID:</source>
        <translation>Personen-ID:</translation>
    </message>
    <message>
        <source>Finger ID:</source>
        <translation>Finger-ID:</translation>
    </message>
    <message>
        <source>Group ID:</source>
        <translation>Gruppen-ID:</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Train</source>
        <translation>Training</translation>
    </message>
    <message>
        <source>Erase fingerprint data</source>
        <translation>Fingerabdruckdaten löschen</translation>
    </message>
    <message>
        <source>Remove single
finger</source>
        <translation>Einzelnen
Finger löschen</translation>
    </message>
    <message>
        <source>Remove fingers
of person</source>
        <translation>Finger der
Person löschen</translation>
    </message>
    <message>
        <source>Remove all
finger</source>
        <translation>Alle Finger
löschen</translation>
    </message>
    <message>
        <source>Personal ID</source>
        <translation>Personen-ID</translation>
    </message>
    <message>
        <source>Finger ID</source>
        <translation>Finger-ID</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>Minutiae</source>
        <translation>Minutien</translation>
    </message>
    <message>
        <source>MatchId Statistics</source>
        <translation>MatchId-Statistik</translation>
    </message>
    <message>
        <source>Save image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>Save failed</source>
        <translation>Speichern fehlgeschlagen</translation>
    </message>
    <message>
        <source>The picture could not be encoded as PNG.</source>
        <translation>Das Bild konnte nicht als PNG kodiert werden.</translation>
    </message>
    <message>
        <source>Save image...</source>
        <translation>Bild speichern...</translation>
    </message>
    <message>
        <source>Copy image</source>
        <translation>Bild kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Save as CSV...</source>
        <translation>Als CSV speichern...</translation>
    </message>
    <message>
        <source>Save as CSV</source>
        <translation>Als CSV speichern</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>The file %1 could not be saved:
%2</source>
        <translation>Die Datei %1 konnte nicht gespeichert werden:
%2</translation>
    </message>
    <message>
        <source>Verbindung zum Sensor verloren: Der Adapter an Port %1 wurde abgezogen oder ist ausgefallen.</source>
        <translation>Verbindung zum Sensor verloren: Der Adapter an Port %1 wurde abgezogen oder ist ausgefallen.</translation>
    </message>
    <message>
        <source>Einlernen abgebrochen.</source>
        <translation>Einlernen abgebrochen.</translation>
    </message>
    <message>
        <source>Watchdog at %1</source>
        <translation>Watchdog um %1</translation>
    </message>
    <message>
        <source>Unexpected sensor responses</source>
        <translation>Unerwartete Antworten des Sensors</translation>
    </message>
    <message>
        <source>Serial commands</source>
        <translation>Serielle Befehle</translation>
    </message>
    <message>
        <source>Serial ports</source>
        <translation>Serielle Schnittstellen</translation>
    </message>
    <message>
        <source>Serial error log</source>
        <translation>Serielles Fehlerprotokoll</translation>
    </message>
    <message>
        <source>person %1, %2</source>
        <translation>Person %1, %2</translation>
    </message>
    <message>
        <source>no finger deleted</source>
        <translation>kein Finger gelöscht</translation>
    </message>
    <message>
        <source>deleted: %1</source>
        <translation>gelöscht: %1</translation>
    </message>
    <message>
        <source>succeeded</source>
        <translation>erfolgreich</translation>
    </message>
    <message>
        <source>the interface could not be opened</source>
        <translation>die Schnittstelle konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>failed with error code %1</source>
        <translation>fehlgeschlagen mit Fehlercode %1</translation>
    </message>
    <message>
        <source>Port opened</source>
        <translation>Port geöffnet</translation>
    </message>
    <message>
        <source>opened</source>
        <translation>geöffnet</translation>
    </message>
    <message>
        <source>could not be opened</source>
        <translation>konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Enrolment</source>
        <translation>Einlernen</translation>
    </message>
    <message>
        <source>enrolled with quality %1%</source>
        <translation>mit Qualität %1% eingelernt</translation>
    </message>
    <message>
        <source>refused: %1 (%2)</source>
        <translation>abgelehnt: %1 (%2)</translation>
    </message>
    <message>
        <source>Deletion of a finger</source>
        <translation>Löschen eines Fingers</translation>
    </message>
    <message>
        <source>Deletion of a person&apos;s fingers</source>
        <translation>Löschen der Finger einer Person</translation>
    </message>
    <message>
        <source>person %1</source>
        <translation>Person %1</translation>
    </message>
    <message>
        <source>Deletion of all fingers</source>
        <translation>Löschen aller Finger</translation>
    </message>
    <message>
        <source>COM server mode started</source>
        <translation>COM-Server-Mode gestartet</translation>
    </message>
    <message>
        <source>COM server mode stopped</source>
        <translation>COM-Server-Mode beendet</translation>
    </message>
    <message>
        <source>Adapter lost</source>
        <translation>Adapter verloren</translation>
    </message>
    <message>
        <source>Watchdog alarm</source>
        <translation>Watchdog-Alarm</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Read at:</source>
        <translation>Gelesen am:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>no USB ids</source>
        <translation>keine USB-IDs</translation>
    </message>
    <message>
        <source>serial number %1</source>
        <translation>Seriennummer %1</translation>
    </message>
    <message>
        <source>Adapter:</source>
        <translation>Adapter:</translation>
    </message>
    <message>
        <source>Operations</source>
        <translation>Vorgänge</translation>
    </message>
    <message>
        <source>The %1 oldest operations are not listed; the statistics count them.</source>
        <translation>Die %1 ältesten Vorgänge sind nicht aufgeführt; die Statistik zählt sie mit.</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>Vorgang</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Gegenstand</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Identifications:</source>
        <translation>Identifizierungen:</translation>
    </message>
    <message>
        <source>%1, of which %2 recognised</source>
        <translation>%1, davon %2 erkannt</translation>
    </message>
    <message>
        <source>Last identification:</source>
        <translation>Letzte Identifizierung:</translation>
    </message>
    <message>
        <source>Match statistics:</source>
        <translation>MatchId-Statistik:</translation>
    </message>
    <message>
        <source>Unexpected responses:</source>
        <translation>Unerwartete Antworten:</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Templates</translation>
    </message>
    <message>
        <source>Analysed at %1: the module holds no templates.</source>
        <translation>Analysiert am %1: Das Modul enthält keine Templates.</translation>
    </message>
    <message>
        <source>Analysed at %1: %2 of %3 listed templates read.</source>
        <translation>Analysiert am %1: %2 von %3 aufgelisteten Templates gelesen.</translation>
    </message>
    <message>
        <source>Service report</source>
        <translation>Servicebericht</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Als PDF speichern</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>Written at %1 by vindal01-tool version %2; the session began at %3.</source>
        <translation>Erstellt am %1 von vindal01-tool Version %2; die Sitzung begann am %3.</translation>
    </message>
    <message>
        <source>Nothing was read from a module in this session.</source>
        <translation>In dieser Sitzung wurde nichts von einem Modul gelesen.</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>Save as PDF...</source>
        <translation>Als PDF speichern...</translation>
    </message>
    <message>
        <source>Service report...</source>
        <translation>Servicebericht...</translation>
    </message>
    <message>
        <source>Service report... (%1)</source>
        <translation>Servicebericht... (%1)</translation>
    </message>
    <message>
        <source>module code %1</source>
        <translation>Modulcode %1</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>gelöscht</translation>
    </message>
    <message>
        <source>was not stored</source>
        <translation>war nicht gespeichert</translation>
    </message>
    <message>
        <source>refused (%1)</source>
        <translation>abgelehnt (%1)</translation>
    </message>
    <message>
        <source>cut off after %1 of %2 answers</source>
        <translation>abgebrochen nach %1 von %2 Antworten</translation>
    </message>
    <message>
        <source>%1 of %2 answers so far</source>
        <translation>bisher %1 von %2 Antworten</translation>
    </message>
    <message>
        <source>cut off before the module answered</source>
        <translation>abgebrochen, bevor das Modul antwortete</translation>
    </message>
    <message>
        <source>no answer yet</source>
        <translation>noch keine Antwort</translation>
    </message>
    <message>
        <source>all fingers deleted</source>
        <translation>alle Finger gelöscht</translation>
    </message>
    <message>
        <source>failed: the module reported no quality</source>
        <translation>fehlgeschlagen: Das Modul meldete keine Qualität</translation>
    </message>
    <message>
        <source>cancelled before the module answered: the personal ID was changed</source>
        <translation>abgebrochen, bevor das Modul antwortete: Die Personen-ID wurde geändert</translation>
    </message>
    <message>
        <source>cancelled before the module answered: another page was chosen</source>
        <translation>abgebrochen, bevor das Modul antwortete: Eine andere Seite wurde gewählt</translation>
    </message>
    <message>
        <source>cancelled before the module answered: a port was chosen</source>
        <translation>abgebrochen, bevor das Modul antwortete: Ein Port wurde gewählt</translation>
    </message>
    <message>
        <source>cancelled before the module answered: the adapter was lost</source>
        <translation>abgebrochen, bevor das Modul antwortete: Der Adapter ging verloren</translation>
    </message>
    <message>
        <source>the module answered afterwards: %1</source>
        <translation>das Modul antwortete danach: %1</translation>
    </message>
    <message>
        <source>while the module&apos;s information was read</source>
        <translation>beim Lesen der Modulinformationen</translation>
    </message>
    <message>
        <source>while the module was set up</source>
        <translation>beim Einstellen des Moduls</translation>
    </message>
    <message>
        <source>while the sensor was asked for a finger</source>
        <translation>beim Abfragen des Sensors nach einem Finger</translation>
    </message>
    <message>
        <source>while a finger was identified</source>
        <translation>beim Identifizieren eines Fingers</translation>
    </message>
    <message>
        <source>while a finger was matched</source>
        <translation>beim Abgleich eines Fingers</translation>
    </message>
    <message>
        <source>while the picture was read</source>
        <translation>beim Lesen des Bildes</translation>
    </message>
    <message>
        <source>while the templates were read</source>
        <translation>beim Lesen der Templates</translation>
    </message>
    <message>
        <source>while a person&apos;s fingers were read</source>
        <translation>beim Lesen der Finger einer Person</translation>
    </message>
    <message>
        <source>while fingers were deleted</source>
        <translation>beim Löschen von Fingern</translation>
    </message>
    <message>
        <source>while no command was running</source>
        <translation>ohne laufendes Kommando</translation>
    </message>
    <message>
        <source>the connection to the module broke off (%1)</source>
        <translation>die Verbindung zum Modul brach ab (%1)</translation>
    </message>
    <message>
        <source>no answer within 5 s %1</source>
        <translation>keine Antwort innerhalb von 5 s %1</translation>
    </message>
    <message>
        <source>Visit</source>
        <translation>Einsatz</translation>
    </message>
    <message>
        <source>Technician:</source>
        <translation>Techniker:</translation>
    </message>
    <message>
        <source>Customer or site:</source>
        <translation>Kunde oder Standort:</translation>
    </message>
    <message>
        <source>Industrial PC (serial or asset number):</source>
        <translation>Industrie-PC (Serien- oder Inventarnummer):</translation>
    </message>
    <message>
        <source>Remarks:</source>
        <translation>Bemerkungen:</translation>
    </message>
    <message>
        <source>The module answered on port %1 at %2: firmware %3 of %4 %5, %6 of %7 templates stored.</source>
        <translation>Das Modul antwortete an Port %1 am %2: Firmware %3 vom %4 %5, %6 von %7 Templates gespeichert.</translation>
    </message>
    <message>
        <source>No module answered on port %1, chosen at %2.</source>
        <translation>An Port %1, gewählt am %2, antwortete kein Modul.</translation>
    </message>
    <message>
        <source>Port %1 could not be opened at %2.</source>
        <translation>Port %1 konnte am %2 nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>A sensor picture arrived complete with a correct checksum at %1 (%2 x %3 pixels); its grey values lie between %4 and %5, spread %6.</source>
        <translation>Ein Sensorbild kam am %1 vollständig mit richtiger Prüfsumme an (%2 x %3 Pixel); seine Grauwerte liegen zwischen %4 und %5, Streuung %6.</translation>
    </message>
    <message>
        <source>The picture has almost no contrast: clean the sensor and check that the finger lies flat on it.</source>
        <translation>Das Bild hat fast keinen Kontrast: Sensor reinigen und prüfen, ob der Finger flach aufliegt.</translation>
    </message>
    <message>
        <source>%1 of %2 templates the module listed were read with correct checksums at %3.</source>
        <translation>%1 von %2 vom Modul aufgelisteten Templates wurden am %3 mit richtiger Prüfsumme gelesen.</translation>
    </message>
    <message>
        <source>%1 of %2 identifications recognised a stored finger.</source>
        <translation>%1 von %2 Identifizierungen erkannten einen gespeicherten Finger.</translation>
    </message>
    <message>
        <source>%1 of %2 enrolments stored the finger.</source>
        <translation>%1 von %2 Einlernvorgängen speicherten den Finger.</translation>
    </message>
    <message>
        <source>Findings</source>
        <translation>Befund</translation>
    </message>
    <message>
        <source>%1 on port %2</source>
        <translation>%1 an Port %2</translation>
    </message>
    <message>
        <source>not recognised</source>
        <translation>nicht erkannt</translation>
    </message>
    <message>
        <source>Personal ID %1, until %2</source>
        <translation>Personen-ID %1, bis %2</translation>
    </message>
    <message>
        <source>%1 of %2 matched (%3)</source>
        <translation>%1 von %2 erkannt (%3)</translation>
    </message>
    <message>
        <source>Late answers of aborted operations:</source>
        <translation>Späte Antworten abgebrochener Vorgänge:</translation>
    </message>
    <message>
        <source>Read at %1, %2 x %3 pixels; grey values %4 to %5, mean %6, spread %7.</source>
        <translation>Gelesen am %1, %2 x %3 Pixel; Grauwerte %4 bis %5, Mittel %6, Streuung %7.</translation>
    </message>
    <message>
        <source> (low)</source>
        <translation> (niedrig)</translation>
    </message>
    <message>
        <source>Signatures</source>
        <translation>Unterschriften</translation>
    </message>
    <message>
        <source>The customer has read this report.</source>
        <translation>Der Kunde hat diesen Bericht gelesen.</translation>
    </message>
    <message>
        <source>Technician, %1</source>
        <translation>Techniker, %1</translation>
    </message>
    <message>
        <source>Customer, %1</source>
        <translation>Kunde, %1</translation>
    </message>
    <message>
        <source>Service visit</source>
        <translation>Serviceeinsatz</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Enrolments, deletions or other work of this visit are in no saved or printed service report yet. Make the report before closing?</source>
        <translation>Einlernvorgänge, Löschungen oder andere Arbeiten dieses Einsatzes stehen noch in keinem gespeicherten oder gedruckten Servicebericht. Den Bericht vor dem Schließen erstellen?</translation>
    </message>
    <message>
        <source>Make the report</source>
        <translation>Bericht erstellen</translation>
    </message>
    <message>
        <source>Close without it</source>
        <translation>Ohne Bericht schließen</translation>
    </message>
    <message>
        <source>Stay</source>
        <translation>Bleiben</translation>
    </message>
    <message>
        <source>Pictures with a wrong checksum: %1.</source>
        <translation>Bilder mit falscher Prüfsumme: %1.</translation>
    </message>
    <message>
        <source>%1 of them with a quality below %2%: enrol these fingers again: %3.</source>
        <translation>%1 davon mit einer Qualität unter %2%: Diese Finger neu einlernen: %3.</translation>
    </message>
    <message>
        <source>Templates with a wrong checksum: %1.</source>
        <translation>Templates mit falscher Prüfsumme: %1.</translation>
    </message>
    <message>
        <source>Connections to the module lost: %1.</source>
        <translation>Verbindungen zum Modul verloren: %1.</translation>
    </message>
    <message>
        <source>Watchdog alarms, the module not answering: %1.</source>
        <translation>Watchdog-Alarme, das Modul antwortete nicht: %1.</translation>
    </message>
    <message>
        <source>Lines from the module that answered nothing asked of it: %1.</source>
        <translation>Zeilen des Moduls, die auf keine Anfrage antworteten: %1.</translation>
    </message>
</context>
</TS>
