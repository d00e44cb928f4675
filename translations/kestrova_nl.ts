<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl_NL" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Standaardtextuur</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>Biljet van 5 euro</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>Biljet van 10 euro</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>Biljet van 20 euro</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>Biljet van 50 euro</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>Biljet van 100 euro</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>Biljet van 200 euro</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>Biljet van 500 euro</translation>
    </message>
</context>
<context>
    <name>Country</name>
    <message>
        <source>Belgium</source>
        <translation>België</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Duitsland</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finland</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Frankrijk</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Griekenland</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Ierland</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Italië</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Luxemburg</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Nederland</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Oostenrijk</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugal</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Spanje</translation>
    </message>
</context>
<context>
    <name>Currency</name>
    <message>
        <source> Belgian Francs </source>
        <translation> Belgische franken </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> Duitse marken </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Finse markka’s </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Franse franken </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Griekse drachmen </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Ierse ponden </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Italiaanse lires </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Luxemburgse franken </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Guldens </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Oostenrijkse schillingen </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Portugese escudo’s </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Spaanse peseta’s </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Onverwachte fout bij het laden van %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Het onderdeel ‘%1-afbeeldingen’ of iets wat het nodig heeft ontbreekt</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Bestand niet gevonden: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Installeer het programma opnieuw om dit op te lossen.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Installeer het programma opnieuw om dit op te lossen, of haal de nieuwste Dornakits bij Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Stuur de foutbeschrijving hierboven alstublieft naar de auteur.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Er is een fout opgetreden:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Beschrijving: Fout</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fout</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Kestrova is al gestart.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Euro-omrekenaar</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Achtergrond</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Bedrag in euro</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Vlag van het gekozen land</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Dubbelklik</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Bedrag in nationale munt</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Afsluiten</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Project</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Landen</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmabout</name>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Kestrova is freeware.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Kopieer en deel het vrij.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Veel plezier!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Updates en meer freeware</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>vindt u op mijn homepage:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Opent de homepage in de webbrowser</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Versie %1.%2.%3</translation>
    </message>
</context>
</TS>
