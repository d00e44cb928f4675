<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fi_FI" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Oletustausta</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>5 euron seteli</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>10 euron seteli</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>20 euron seteli</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>50 euron seteli</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>100 euron seteli</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>200 euron seteli</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>500 euron seteli</translation>
    </message>
</context>
<context>
    <name>Country</name>
    <message>
        <source>Belgium</source>
        <translation>Belgia</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Saksa</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Suomi</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Ranska</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Kreikka</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irlanti</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Italia</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Luxemburg</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Alankomaat</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Itävalta</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugali</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Espanja</translation>
    </message>
</context>
<context>
    <name>Currency</name>
    <message>
        <source> Belgian Francs </source>
        <translation> Belgian frangit </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> Saksan markat </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Markat </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Ranskan frangit </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Kreikan drakmat </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Irlannin punnat </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Italian liirat </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Luxemburgin frangit </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Alankomaiden guldenit </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Itävallan šillingit </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Portugalin escudot </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Espanjan pesetat </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Odottamaton virhe ladattaessa tiedostoa %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Osa ”%1-kuvatuki” tai jokin sen tarvitsema puuttuu</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Tiedostoa ei löydy: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Korjaa tämä asentamalla ohjelma uudelleen.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Korjaa tämä asentamalla ohjelma uudelleen tai hae uusimmat Dornakits-osat Quillmerelta.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Ilmoita tekijälle yllä oleva virheen kuvaus.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Tapahtui virhe:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Kuvaus: Virhe</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Virhe</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Kestrova on jo käynnissä.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Euromuunnin</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Tausta</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Summa euroina</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Valitun maan lippu</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Kaksoisnapsauta</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Summa kansallisena valuuttana</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Tietoja</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Lopeta</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Projekti</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Maat</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmabout</name>
    <message>
        <source>About</source>
        <translation>Tietoja</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Kestrova on ilmaisohjelma.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Kopioi ja jaa vapaasti.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Pidä hauskaa!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Päivitykset ja muut</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>ilmaisohjelmat sivultani:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Avaa kotisivun selaimessa</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Versio %1.%2.%3</translation>
    </message>
</context>
</TS>
