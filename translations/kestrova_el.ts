<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="el_GR" sourcelanguage="en">
<context>
    <name>Background</name>
    <message>
        <source>Default texture</source>
        <translation>Προεπιλεγμένη υφή</translation>
    </message>
    <message>
        <source>5 euro banknote</source>
        <translation>Χαρτονόμισμα 5 ευρώ</translation>
    </message>
    <message>
        <source>10 euro banknote</source>
        <translation>Χαρτονόμισμα 10 ευρώ</translation>
    </message>
    <message>
        <source>20 euro banknote</source>
        <translation>Χαρτονόμισμα 20 ευρώ</translation>
    </message>
    <message>
        <source>50 euro banknote</source>
        <translation>Χαρτονόμισμα 50 ευρώ</translation>
    </message>
    <message>
        <source>100 euro banknote</source>
        <translation>Χαρτονόμισμα 100 ευρώ</translation>
    </message>
    <message>
        <source>200 euro banknote</source>
        <translation>Χαρτονόμισμα 200 ευρώ</translation>
    </message>
    <message>
        <source>500 euro banknote</source>
        <translation>Χαρτονόμισμα 500 ευρώ</translation>
    </message>
</context>
<context>
    <name>Country</name>
    <message>
        <source>Belgium</source>
        <translation>Βέλγιο</translation>
    </message>
    <message>
        <source>Germany</source>
        <translation>Γερμανία</translation>
    </message>
    <message>
        <source>Finland</source>
        <translation>Φινλανδία</translation>
    </message>
    <message>
        <source>France</source>
        <translation>Γαλλία</translation>
    </message>
    <message>
        <source>Greece</source>
        <translation>Ελλάδα</translation>
    </message>
    <message>
        <source>Ireland</source>
        <translation>Ιρλανδία</translation>
    </message>
    <message>
        <source>Italy</source>
        <translation>Ιταλία</translation>
    </message>
    <message>
        <source>Luxembourg</source>
        <translation>Λουξεμβούργο</translation>
    </message>
    <message>
        <source>Holland</source>
        <translation>Ολλανδία</translation>
    </message>
    <message>
        <source>Austria</source>
        <translation>Αυστρία</translation>
    </message>
    <message>
        <source>Portugal</source>
        <translation>Πορτογαλία</translation>
    </message>
    <message>
        <source>Spain</source>
        <translation>Ισπανία</translation>
    </message>
</context>
<context>
    <name>Currency</name>
    <message>
        <source> Belgian Francs </source>
        <translation> Βελγικά φράγκα </translation>
    </message>
    <message>
        <source> German Marks </source>
        <translation> Γερμανικά μάρκα </translation>
    </message>
    <message>
        <source> Finnish Markka </source>
        <translation> Φινλανδικά μάρκα </translation>
    </message>
    <message>
        <source> French Francs </source>
        <translation> Γαλλικά φράγκα </translation>
    </message>
    <message>
        <source> Greek Drachmas </source>
        <translation> Δραχμές </translation>
    </message>
    <message>
        <source> Irish Pound </source>
        <translation> Ιρλανδικές λίρες </translation>
    </message>
    <message>
        <source> Italian Lira </source>
        <translation> Ιταλικές λιρέτες </translation>
    </message>
    <message>
        <source> Luxembourg Francs </source>
        <translation> Λουξεμβουργιανά φράγκα </translation>
    </message>
    <message>
        <source> Dutch Guilders </source>
        <translation> Ολλανδικά φιορίνια </translation>
    </message>
    <message>
        <source> Austrian Schillings </source>
        <translation> Αυστριακά σελίνια </translation>
    </message>
    <message>
        <source> Portugese Escudo </source>
        <translation> Πορτογαλικά εσκούδα </translation>
    </message>
    <message>
        <source> Spanish Peseta </source>
        <translation> Ισπανικές πεσέτες </translation>
    </message>
</context>
<context>
    <name>StartupReport</name>
    <message>
        <source>Unexpected error loading %1</source>
        <translation>Απρόσμενο σφάλμα κατά τη φόρτωση του %1</translation>
    </message>
    <message>
        <source>Component &apos;%1 image support&apos; or one of its dependencies is missing</source>
        <translation>Λείπει το στοιχείο «εικόνες %1» ή κάτι που αυτό χρειάζεται</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Το αρχείο δεν βρέθηκε: %1</translation>
    </message>
    <message>
        <source>Re-install the program to fix this.</source>
        <translation>Εγκαταστήστε ξανά το πρόγραμμα για να διορθωθεί αυτό.</translation>
    </message>
    <message>
        <source>Re-install the program to fix this, or get the latest Dornakits at Quillmere.</source>
        <translation>Εγκαταστήστε ξανά το πρόγραμμα για να διορθωθεί αυτό ή κατεβάστε τα νεότερα Dornakits από την Quillmere.</translation>
    </message>
    <message>
        <source>Please inform the author with the error description above.</source>
        <translation>Παρακαλώ στείλτε στον δημιουργό την παραπάνω περιγραφή του σφάλματος.</translation>
    </message>
    <message>
        <source>An Error was generated:</source>
        <translation>Παρουσιάστηκε σφάλμα:</translation>
    </message>
    <message>
        <source>Description: Error</source>
        <translation>Περιγραφή: Σφάλμα</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Σφάλμα</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmMain</name>
    <message>
        <source>Kestrova is already running.</source>
        <translation>Το Kestrova εκτελείται ήδη.</translation>
    </message>
    <message>
        <source>Euro converter</source>
        <translation>Μετατροπέας ευρώ</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Φόντο</translation>
    </message>
    <message>
        <source>Euro</source>
        <translation>Ευρώ</translation>
    </message>
    <message>
        <source>Amount in euro</source>
        <translation>Ποσό σε ευρώ</translation>
    </message>
    <message>
        <source>Flag of the chosen country</source>
        <translation>Σημαία της επιλεγμένης χώρας</translation>
    </message>
    <message>
        <source>Double-click</source>
        <translation>Διπλό κλικ</translation>
    </message>
    <message>
        <source>Amount in national currency</source>
        <translation>Ποσό σε εθνικό νόμισμα</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Σχετικά</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Έ&amp;ξοδος</translation>
    </message>
    <message>
        <source>&amp;Project</source>
        <translation>&amp;Έργο</translation>
    </message>
    <message>
        <source>&amp;Countries</source>
        <translation>&amp;Χώρες</translation>
    </message>
</context>
<context>
    <name>kestrova::ui::frmabout</name>
    <message>
        <source>About</source>
        <translation>Σχετικά</translation>
    </message>
    <message>
        <source>Kestrova is freeware.</source>
        <translation>Το Kestrova είναι δωρεάν.</translation>
    </message>
    <message>
        <source>Copy it and pass it on freely.</source>
        <translation>Αντιγράψτε το ελεύθερα.</translation>
    </message>
    <message>
        <source>Play and enjoy!</source>
        <translation>Καλή διασκέδαση!</translation>
    </message>
    <message>
        <source>For updates and other freeware,</source>
        <translation>Ενημερώσεις και άλλα</translation>
    </message>
    <message>
        <source>Visit my homepage at</source>
        <translation>δωρεάν προγράμματα στο:</translation>
    </message>
    <message>
        <source>Opens the homepage in the web browser</source>
        <translation>Ανοίγει την ιστοσελίδα στο πρόγραμμα περιήγησης</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Έκδοση %1.%2.%3</translation>
    </message>
</context>
</TS>
