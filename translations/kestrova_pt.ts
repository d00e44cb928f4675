<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Textura predefinida</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>Nota de 5 euros</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>Nota de 10 euros</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>Nota de 20 euros</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>Nota de 50 euros</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>Nota de 100 euros</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>Nota de 200 euros</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>Nota de 500 euros</translation>
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
        <translation>Alemanha</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finlândia</translation>
    </message>
    <message>
        <source>France</source>
        <translation>França</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Grécia</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irlanda</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Itália</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Luxemburgo</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Países Baixos</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Áustria</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugal</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Espanha</translation>
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
        <translation> Marcos alemães </translation>
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
        <translation> Dracmas gregas </translation>
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
        <translation> Florins neerlandeses </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Xelins austríacos </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Escudos </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Pesetas espanholas </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Erro inesperado ao carregar %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Falta o componente «imagens %1» ou algo de que ele precisa</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Ficheiro não encontrado: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Reinstale o programa para resolver isto.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Reinstale o programa para resolver isto, ou obtenha os Dornakits mais recentes na Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Envie ao autor a descrição do erro acima.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Ocorreu um erro:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Descrição: Erro</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>O Kestrova já está em execução.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Conversor de euros</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Fundo</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Montante em euros</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Bandeira do país escolhido</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Duplo clique</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Montante em moeda nacional</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Acerca de</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Projeto</translation>
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
        <translation>O Kestrova é gratuito.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Copie-o e partilhe-o.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Divirta-se!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Atualizações e mais</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>freeware no meu site:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Abre o site no navegador</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Versão %1.%2.%3</translation>
    </message>
</context>
</TS>
