<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Standardmuster</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>5-Euro-Schein</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>10-Euro-Schein</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>20-Euro-Schein</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>50-Euro-Schein</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>100-Euro-Schein</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>200-Euro-Schein</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>500-Euro-Schein</translation>
    </message>
</context>
<context>
    <name>Country</name>
    <message>
        <source>Belgium</source>
        <translation>Belgien</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Deutschland</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finnland</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Frankreich</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Griechenland</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irland</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Italien</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Luxemburg</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Niederlande</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Österreich</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugal</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Spanien</translation>
    </message>
</context>
<context>
    <name>Currency</name>
    <message>
        <source> Belgian Francs </source>
        <translation> Belgische Franken </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> D-Mark </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Finnmark </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Französische Francs </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Griechische Drachmen </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Irische Pfund </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Italienische Lire </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Luxemburgische Franken </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Holländische Gulden </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Österreichische Schilling </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Portugiesische Escudos </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Spanische Peseten </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Unerwarteter Fehler beim Laden von %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Die Komponente „Bildformat %1“ oder etwas, das sie braucht, fehlt</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Datei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Installieren Sie das Programm neu, um das zu beheben.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Installieren Sie das Programm neu, um das zu beheben, oder holen Sie sich die neuesten Dornakits bei Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Bitte schicken Sie dem Autor die obige Fehlerbeschreibung.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Es ist ein Fehler aufgetreten:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Beschreibung: Fehler</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Kestrova läuft bereits.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Euro-Umrechner</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Betrag in Euro</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Flagge des gewählten Landes</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Doppelklick</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Betrag in Landeswährung</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>B&amp;eenden</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Projekt</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Länder</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmabout</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Kestrova ist Freeware.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Frei kopieren und weitergeben.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Viel Spaß damit!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Updates und weitere Freeware</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>gibt es auf meiner Homepage:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Öffnet die Homepage im Webbrowser</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
</context>
</TS>
