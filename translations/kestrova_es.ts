<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Textura predeterminada</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>Billete de 5 euros</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>Billete de 10 euros</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>Billete de 20 euros</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>Billete de 50 euros</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>Billete de 100 euros</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>Billete de 200 euros</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>Billete de 500 euros</translation>
    </message>
</context>
<context>
    <name>Country</name>
    <message>
        <source>Belgium</source>
        <translation>Bélgica</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Alemania</translation>
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
        <translation>Luxemburgo</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Países Bajos</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Austria</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugal</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>España</translation>
    </message>
</context>
<context>
    <name>Currency</name>
    <message>
        <source> Belgian Francs </source>
        <translation> Francos belgas </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> Marcos alemanes </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Marcos finlandeses </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Francos franceses </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Dracmas griegas </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Libras irlandesas </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Liras italianas </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Francos luxemburgueses </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Florines neerlandeses </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Chelines austriacos </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Escudos portugueses </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Pesetas </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Error inesperado al cargar %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Falta el componente «imágenes %1» o algo que necesita</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>No se encuentra el archivo: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Reinstala el programa para solucionarlo.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Reinstala el programa para solucionarlo, o consigue los últimos Dornakits en Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Envía al autor la descripción del error que aparece arriba.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Se ha producido un error:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Descripción: Error</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Kestrova ya se está ejecutando.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Conversor de euros</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Fondo</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Importe en euros</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Bandera del país elegido</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Doble clic</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Importe en moneda nacional</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Acerca de</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Proyecto</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Países</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmabout</name>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Kestrova es gratuito.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Cópialo y compártelo.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>¡Que lo disfrutes!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Actualizaciones y más</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>programas gratis en mi web:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Abre la página web en el navegador</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Versión %1.%2.%3</translation>
    </message>
</context>
</TS>
