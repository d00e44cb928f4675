<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Trama predefinita</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>Banconota da 5 euro</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>Banconota da 10 euro</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>Banconota da 20 euro</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>Banconota da 50 euro</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>Banconota da 100 euro</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>Banconota da 200 euro</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>Banconota da 500 euro</translation>
    </message>
</context>
<context>
    <name>Country</name>
    <message>
        <source>Belgium</source>
        <translation>Belgio</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Germania</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finlandia</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Francia</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Grecia</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irlanda</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Italia</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Lussemburgo</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Paesi Bassi</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Austria</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portogallo</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Spagna</translation>
    </message>
</context>
<context>
    <name>Currency</name>
    <message>
        <source> Belgian Francs </source>
        <translation> Franchi belgi </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> Marchi tedeschi </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Marchi finlandesi </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Franchi francesi </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Dracme greche </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Sterline irlandesi </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Lire </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Franchi lussemburghesi </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Fiorini olandesi </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Scellini austriaci </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Escudo portoghesi </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Pesete spagnole </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Errore imprevisto durante il caricamento di %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Manca il componente «immagini %1» o qualcosa di cui ha bisogno</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>File non trovato: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Reinstallare il programma per risolvere il problema.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Reinstallare il programma per risolvere il problema, oppure scaricare gli ultimi Dornakits da Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Si prega di comunicare all’autore la descrizione dell’errore qui sopra.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Si è verificato un errore:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Descrizione: Errore</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Kestrova è già in esecuzione.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Convertitore di euro</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Sfondo</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Importo in euro</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Bandiera del paese scelto</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Doppio clic</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Importo in valuta nazionale</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Progetto</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Paesi</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmabout</name>
    <message>
        <source>About</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Kestrova è freeware.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Copialo e diffondilo.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Buon divertimento!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Aggiornamenti e altri</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>freeware sul mio sito:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Apre il sito nel browser</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Versione %1.%2.%3</translation>
    </message>
</context>
</TS>
