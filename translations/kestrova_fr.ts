<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Texture par défaut</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>Billet de 5 euros</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>Billet de 10 euros</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>Billet de 20 euros</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>Billet de 50 euros</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>Billet de 100 euros</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>Billet de 200 euros</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>Billet de 500 euros</translation>
    </message>
</context>
<context>
    <name>Country</name>
    <message>
        <source>Belgium</source>
        <translation>Belgique</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Allemagne</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Finlande</translation>
    </message>
    <message>
        <source>France</source>
        <translation>France</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Grèce</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Irlande</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Italie</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Luxembourg</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Pays-Bas</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Autriche</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Portugal</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Espagne</translation>
    </message>
</context>
<context>
    <name>Currency</name>
    <message>
        <source> Belgian Francs </source>
        <translation> Francs belges </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> Marks allemands </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Marks finlandais </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Francs français </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Drachmes grecques </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Livres irlandaises </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Lires italiennes </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Francs luxembourgeois </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Florins néerlandais </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Schillings autrichiens </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Escudos portugais </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Pesetas espagnoles </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Erreur inattendue au chargement de %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Le composant «&#xa0;images %1&#xa0;» ou l’un de ceux dont il a besoin est absent</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Fichier introuvable&#xa0;: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Réinstallez le programme pour corriger ce problème.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Réinstallez le programme pour corriger ce problème, ou procurez-vous les derniers Dornakits chez Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Merci de transmettre à l’auteur la description de l’erreur ci-dessus.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Une erreur s’est produite&#xa0;:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Description&#xa0;: Erreur</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Kestrova est déjà en cours d’exécution.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Convertisseur euro</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Arrière-plan</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Euro</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Montant en euros</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Drapeau du pays choisi</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Double-clic</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Montant en monnaie nationale</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Projet</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Pays</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmabout</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Kestrova est un logiciel gratuit.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Copiez-le et partagez-le.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Amusez-vous bien&#xa0;!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Mises à jour et logiciels</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>gratuits sur mon site&#xa0;:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Ouvre le site dans le navigateur</translation>
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
