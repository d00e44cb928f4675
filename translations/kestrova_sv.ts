<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv_SE" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Standardmönster</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>5-eurosedel</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>10-eurosedel</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>20-eurosedel</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>50-eurosedel</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>100-eurosedel</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>200-eurosedel</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>500-eurosedel</translation>
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
        <translation>Tyskland</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finland</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Frankrike</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Grekland</translation>
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
        <translation>Nederländerna</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Österrike</translation>
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
        <translation> Belgiska franc </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> D-mark </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Finska mark </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Franska franc </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Grekiska drachmer </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Irländska pund </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Italienska lire </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Luxemburgska franc </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Nederländska gulden </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Österrikiska schilling </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Portugisiska escudos </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Spanska pesetas </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Oväntat fel när %1 lästes in</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Komponenten ”%1-bilder” eller något den behöver saknas</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Filen hittades inte: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Installera om programmet för att rätta till detta.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Installera om programmet för att rätta till detta, eller hämta de senaste Dornakits hos Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Skicka gärna felbeskrivningen ovan till upphovsmannen.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Ett fel uppstod:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Beskrivning: Fel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fel</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Kestrova körs redan.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Euroomräknare</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Bakgrund</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Belopp i euro</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Det valda landets flagga</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Dubbelklicka</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Belopp i nationell valuta</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Om</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Avsluta</translation>
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
        <translation>Om</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Kestrova är gratisprogram.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Kopiera och dela fritt.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Ha så kul!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Uppdateringar och fler</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>gratisprogram på min sida:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Öppnar hemsidan i webbläsaren</translation>
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
