<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>ChangedRows</name>
    <message>
        <source>field %1</source>
        <translation>champ %1</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(aucun)</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(vide)</translation>
    </message>
</context>
<context>
    <name>ClipboardText</name>
    <message>
        <source>The list was closed while it was being copied</source>
        <translation>La liste a été fermée pendant sa copie</translation>
    </message>
    <message>
        <source>Copying to the clipboard...</source>
        <translation>Copie dans le presse-papiers...</translation>
    </message>
    <message>
        <source>The clipboard could not be opened: another program kept it busy for %1 attempts</source>
        <translation>Le presse-papiers n&apos;a pas pu être ouvert : un autre programme l&apos;a occupé pendant %1 tentatives</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>option inconnue « %1 »</translation>
    </message>
    <message>
        <source>
Qt&apos;s own options, read before the window opens:
  -platform NAME     the window system: xcb, wayland or offscreen
  -display DISPLAY   the X display to open the window on
  -style NAME        the look of the controls, such as Fusion
  -reverse           lay the window out from right to left
</source>
        <translation>
Options propres à Qt, lues avant l&apos;ouverture de la fenêtre :
  -platform NOM      le système de fenêtres : xcb, wayland ou offscreen
  -display AFFICHAGE l&apos;affichage X où ouvrir la fenêtre
  -style NOM         l&apos;aspect des contrôles, par exemple Fusion
  -reverse           disposer la fenêtre de droite à gauche
</translation>
    </message>
    <message>
        <source>Usage: quillmark [FILE1 [FILE2]]
Compares two text files line by line in a window: the lines in both, the lines
only in FILE1 and the lines only in FILE2.

  FILE1, FILE2   fill the fields &quot;Text File #1&quot; and &quot;Text File #2&quot;; a field
                 not given keeps the path remembered from the last run
  -h, --help     show this help and exit
  --help-all     show it with Qt&apos;s own options (-platform, -style) and exit
  -v, --version  show the version and exit

Remembered paths: %1
Program files:    %2
quillmark-compare makes the same three lists for scripts.
</source>
        <translation>Usage : quillmark [FICHIER1 [FICHIER2]]
Compare deux fichiers texte ligne par ligne dans une fenêtre : les lignes des deux,
les lignes seulement dans FICHIER1 et les lignes seulement dans FICHIER2.

  FICHIER1, FICHIER2  remplissent les champs « Fichier texte nº 1 » et
                 « Fichier texte nº 2 » ; un champ non donné garde le chemin
                 retenu lors de la dernière exécution
  -h, --help     afficher cette aide et quitter
  --help-all     l&apos;afficher avec les options de Qt (-platform, -style) et quitter
  -v, --version  afficher la version et quitter

Chemins retenus :      %1
Fichiers du programme : %2
quillmark-compare produit les trois mêmes listes pour les scripts.
</translation>
    </message>
</context>
<context>
    <name>CommonDialog</name>
    <message>
        <source>plain text document</source>
        <translation>document texte</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists.
Do you want to replace it?</source>
        <translation>« %1 » existe déjà.
Voulez-vous le remplacer ?</translation>
    </message>
</context>
<context>
    <name>Companion</name>
    <message>
        <source>- (standard output)</source>
        <translation>- (sortie standard)</translation>
    </message>
    <message>
        <source>- (standard input)</source>
        <translation>- (entrée standard)</translation>
    </message>
    <message>
        <source>%1 and %2 are the same file: one list would be lost</source>
        <translation>%1 et %2 sont le même fichier : une liste serait perdue</translation>
    </message>
    <message>
        <source>%1 would overwrite %2</source>
        <translation>%1 écraserait %2</translation>
    </message>
    <message>
        <source>%1 and %2 are the same stream, which can be read only once</source>
        <translation>%1 et %2 sont le même flux, qui ne peut être lu qu&apos;une fois</translation>
    </message>
    <message>
        <source>%1 changed while it was compared, so no list was saved.</source>
        <translation>%1 a changé pendant la comparaison ; aucune liste n&apos;a donc été enregistrée.</translation>
    </message>
    <message>
        <source>%1 changed while its lists were written.</source>
        <translation>%1 a changé pendant l&apos;écriture de ses listes.</translation>
    </message>
    <message>
        <source>the first lines differ; fields are named as in %1 (%2), not as in %3 (%4)</source>
        <translation>les premières lignes diffèrent ; les champs sont nommés comme dans %1 (%2), pas comme dans %3 (%4)</translation>
    </message>
    <message>
        <source>Not enough memory to compare %1 and %2.</source>
        <translation>Pas assez de mémoire pour comparer %1 et %2.</translation>
    </message>
    <message>
        <source>Cannot compare %1 and %2: %3</source>
        <translation>Impossible de comparer %1 et %2 : %3</translation>
    </message>
    <message>
        <source>%1 needs %2, not %3</source>
        <translation>%1 attend %2, pas %3</translation>
    </message>
    <message>
        <source>field numbers from 1 up or names</source>
        <translation>des numéros de champ à partir de 1 ou des noms</translation>
    </message>
    <message>
        <source>a number from 1 up</source>
        <translation>un nombre à partir de 1</translation>
    </message>
    <message>
        <source>Compares two text files line by line, as Quillmark&apos;s &quot;Start Comparing&quot; does.
Lists the lines of FILE1 that FILE2 also holds, the lines of FILE1 not in FILE2
and the lines of FILE2 not in FILE1, each in file order with duplicates kept.
Case is ignored unless --match-case is given. With --ignore-blanks, blanks and
tabs at the ends of lines do not count; with --each-once, a list holds a line
only at its first place. A key option compares a part of each line; the lists
hold whole lines. Each list asked for is written as a text file, one line per
item ended by CR LF (LF with --lf, NUL with -z); PATH &apos;-&apos; is standard output.
FILE1 or FILE2 &apos;-&apos; is standard input; pipes and FIFOs are read to their end.
Without an output option the lists&apos; sizes are printed.
With a key (--field or --key-pattern) a line of FILE1 whose key FILE2 holds is
unchanged when FILE2 has a line with that key and the same other fields, and
changed otherwise; each changed line is paired with the first line of FILE2 with
its key that equals no line of FILE1, or else the first line with its key.</source>
        <translation>Compare deux fichiers texte ligne par ligne, comme « Lancer la comparaison » de
Quillmark. Liste les lignes de FILE1 que FILE2 contient aussi, les lignes de
FILE1 absentes de FILE2 et les lignes de FILE2 absentes de FILE1, chacune dans
l&apos;ordre du fichier, doublons compris.
La casse est ignorée sauf avec --match-case. Avec --ignore-blanks, les blancs et
tabulations en fin de ligne ne comptent pas ; avec --each-once, une liste ne
contient une ligne qu&apos;à sa première place. Une option de clé compare une partie
de chaque ligne ; les listes contiennent des lignes entières. Chaque liste
demandée est écrite comme fichier texte, une ligne par élément terminée par
CR LF (LF avec --lf, NUL avec -z) ; PATH &apos;-&apos; est la sortie standard.
FILE1 ou FILE2 &apos;-&apos; est l&apos;entrée standard ; tubes et FIFO sont lus jusqu&apos;au bout.
Sans option de sortie, la taille des listes est affichée.
Avec une clé (--field ou --key-pattern), une ligne de FILE1 dont FILE2 contient
la clé est inchangée si FILE2 a une ligne avec cette clé et les mêmes autres
champs, et modifiée sinon ; chaque ligne modifiée est associée à la première
ligne de FILE2 avec sa clé qui n&apos;égale aucune ligne de FILE1, ou sinon à la
première ligne avec sa clé.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Afficher cette aide et quitter.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Afficher la version et quitter.</translation>
    </message>
    <message>
        <source>Compare with regard to letter case.</source>
        <translation>Comparer en respectant la casse.</translation>
    </message>
    <message>
        <source>Compare lines without the blanks and tabs at their ends.</source>
        <translation>Comparer les lignes sans les blancs et tabulations à leurs extrémités.</translation>
    </message>
    <message>
        <source>List each line only at its first place; leave out its repeats.</source>
        <translation>Ne lister chaque ligne qu&apos;à sa première place ; omettre ses répétitions.</translation>
    </message>
    <message>
        <source>Compare only field N of each line, counted from 1; &apos;N,M&apos; compares several fields together. With --header, fields may be named.</source>
        <translation>Ne comparer que le champ N de chaque ligne, compté à partir de 1 ; &apos;N,M&apos; compare plusieurs champs ensemble. Avec --header, les champs peuvent être nommés.</translation>
    </message>
    <message>
        <source>The first line of each file names the fields; it is neither compared nor listed.</source>
        <translation>La première ligne de chaque fichier nomme les champs ; elle n&apos;est ni comparée ni listée.</translation>
    </message>
    <message>
        <source>With --field, differences in these fields (numbers, or names with --header) do not make a line changed.</source>
        <translation>Avec --field, les différences dans ces champs (numéros, ou noms avec --header) ne rendent pas une ligne modifiée.</translation>
    </message>
    <message>
        <source>Fields are separated by D: one character, &apos;tab&apos;, or &apos;space&apos; (runs of blanks and tabs). Default &apos;,&apos;; &apos;,&apos; and &apos;;&apos; allow quoted fields.</source>
        <translation>Les champs sont séparés par D : un caractère, &apos;tab&apos; ou &apos;space&apos; (suites de blancs et tabulations). Par défaut &apos;,&apos; ; &apos;,&apos; et &apos;;&apos; permettent des champs entre guillemets.</translation>
    </message>
    <message>
        <source>Compare only what the regular expression RE matches (its first group, if it has one); a line it does not match is compared whole.</source>
        <translation>Ne comparer que ce que l&apos;expression régulière RE trouve (son premier groupe, s&apos;il y en a un) ; une ligne où elle ne trouve rien est comparée entière.</translation>
    </message>
    <message>
        <source>Lines that look alike compare equal (Unicode forms, spaces, zero-width characters, Windows-1252 bytes).</source>
        <translation>Les lignes qui se ressemblent sont égales (formes Unicode, espaces, caractères sans largeur, octets Windows-1252).</translation>
    </message>
    <message>
        <source>Leave lines whose compared part is empty out of every list and count.</source>
        <translation>Exclure de toutes les listes et de tous les comptes les lignes dont la partie comparée est vide.</translation>
    </message>
    <message>
        <source>Print the counts, and the distinct lines, as one JSON object.</source>
        <translation>Afficher les comptes, et les lignes distinctes, en un seul objet JSON.</translation>
    </message>
    <message>
        <source>Exit 0 when no line is only in one file or changed, 1 when some line is, 2 on trouble.</source>
        <translation>Sortir avec 0 si aucune ligne n&apos;est dans un seul fichier ou modifiée, 1 si une l&apos;est, 2 en cas de problème.</translation>
    </message>
    <message>
        <source>End the lines of the lists with LF, not CR LF.</source>
        <translation>Terminer les lignes des listes par LF, pas par CR LF.</translation>
    </message>
    <message>
        <source>Lines are ended by NUL, not by line feeds, in the files and in the lists.</source>
        <translation>Les lignes se terminent par NUL, pas par des sauts de ligne, dans les fichiers et les listes.</translation>
    </message>
    <message>
        <source>Use about SIZE of memory (512M, 4G); files that would need more are compared from disk. Default: half the memory available.</source>
        <translation>Utiliser environ SIZE de mémoire (512M, 4G) ; les fichiers qui en demanderaient plus sont comparés depuis le disque. Par défaut : la moitié de la mémoire disponible.</translation>
    </message>
    <message>
        <source>Keep the files of a comparison from disk in a private folder in DIR (default $TMPDIR, else /tmp).</source>
        <translation>Garder les fichiers d&apos;une comparaison depuis le disque dans un dossier privé de DIR (par défaut $TMPDIR, sinon /tmp).</translation>
    </message>
    <message>
        <source>The first file.</source>
        <translation>Le premier fichier.</translation>
    </message>
    <message>
        <source>The second file.</source>
        <translation>Le second fichier.</translation>
    </message>
    <message>
        <source>an argument is not valid UTF-8 (%1)</source>
        <translation>un argument n&apos;est pas de l&apos;UTF-8 valide (%1)</translation>
    </message>
    <message>
        <source>expected two files, FILE1 and FILE2, got %1</source>
        <translation>deux fichiers attendus, FILE1 et FILE2, reçu %1</translation>
    </message>
    <message>
        <source>--%1 is given more than once</source>
        <translation>--%1 est donné plus d&apos;une fois</translation>
    </message>
    <message>
        <source>--%1 needs a PATH; an empty one names no file</source>
        <translation>--%1 attend un PATH ; un chemin vide ne nomme aucun fichier</translation>
    </message>
    <message>
        <source>--summary and --%1 %2 would both write to standard output</source>
        <translation>--summary et --%1 %2 écriraient tous deux sur la sortie standard</translation>
    </message>
    <message>
        <source>--lf and -z (--zero-terminated) ask for two different line ends</source>
        <translation>--lf et -z (--zero-terminated) demandent deux fins de ligne différentes</translation>
    </message>
    <message>
        <source>--ignore-fields needs --field</source>
        <translation>--ignore-fields nécessite --field</translation>
    </message>
    <message>
        <source>--delimiter needs --field</source>
        <translation>--delimiter nécessite --field</translation>
    </message>
    <message>
        <source>--delimiter needs one character, &apos;tab&apos; or &apos;space&apos;, not %1</source>
        <translation>--delimiter attend un caractère, &apos;tab&apos; ou &apos;space&apos;, pas %1</translation>
    </message>
    <message>
        <source>--key-pattern needs a pattern</source>
        <translation>--key-pattern attend un motif</translation>
    </message>
    <message>
        <source>Field %1 is part of the key and cannot be ignored.</source>
        <translation>Le champ %1 fait partie de la clé et ne peut pas être ignoré.</translation>
    </message>
    <message>
        <source>--%1 needs a key: --field or --key-pattern</source>
        <translation>--%1 nécessite une clé : --field ou --key-pattern</translation>
    </message>
    <message>
        <source>--memory needs a size of at least 1M, such as 512M or 4G, not %1</source>
        <translation>--memory attend une taille d&apos;au moins 1M, comme 512M ou 4G, pas %1</translation>
    </message>
    <message>
        <source>--temp-dir needs a folder</source>
        <translation>--temp-dir attend un dossier</translation>
    </message>
    <message>
        <source>Write the lists to PATH as CSV: list,line,text (with a key, and the partner of a changed line).</source>
        <translation>Écrire les listes dans PATH en CSV : list,line,text (avec une clé, et le partenaire d&apos;une ligne modifiée).</translation>
    </message>
    <message>
        <source>With a key, write each changed line and its partner to PATH as CSV: line_1,line_2,fields,text_1,text_2.</source>
        <translation>Avec une clé, écrire chaque ligne modifiée et son partenaire dans PATH en CSV : line_1,line_2,fields,text_1,text_2.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>a file&apos;s name and why it cannot be used</comment>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>entrée standard</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>sortie standard</translation>
    </message>
    <message>
        <source>the key pattern gave up on 1 line (its match limit); it was compared whole</source>
        <translation>le motif de clé a abandonné sur 1 ligne (sa limite de recherche) ; elle a été comparée entière</translation>
    </message>
    <message>
        <source>the key pattern gave up on %1 lines (its match limit); they were compared whole</source>
        <translation>le motif de clé a abandonné sur %1 lignes (sa limite de recherche) ; elles ont été comparées entières</translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos;</source>
        <translation>option non reconnue « %1 »</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; is ambiguous; possibilities: %2</source>
        <translation>l&apos;option « --%1 » est ambiguë ; possibilités : %2</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; doesn&apos;t allow an argument</source>
        <translation>l&apos;option « %1 » ne prend pas d&apos;argument</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; requires an argument</source>
        <translation>l&apos;option « %1 » requiert un argument</translation>
    </message>
    <message>
        <source>invalid option -- &apos;%1&apos;</source>
        <translation>option invalide -- « %1 »</translation>
    </message>
    <message>
        <source>option requires an argument -- &apos;%1&apos;</source>
        <translation>l&apos;option requiert un argument -- « %1 »</translation>
    </message>
    <message>
        <source>Report problems to &lt;%1&gt;.</source>
        <translation>Signalez les problèmes à &lt;%1&gt;.</translation>
    </message>
    <message>
        <source>Quillmark home page: &lt;%1&gt;</source>
        <translation>Page d&apos;accueil de Quillmark : &lt;%1&gt;</translation>
    </message>
    <message>
        <source>Copyright (C) %1 Harrowmere</source>
        <translation>Copyright (C) %1 Harrowmere</translation>
    </message>
    <message>
        <source>License: Harrowmere-proprietary. All rights reserved.</source>
        <translation>Licence : Harrowmere-proprietary. Tous droits réservés.</translation>
    </message>
    <message>
        <source>For the terms under which this program may be used or passed on,
ask Harrowmere at %1.</source>
        <translation>Pour les conditions d&apos;utilisation et de diffusion de ce programme,
demandez à Harrowmere à l&apos;adresse %1.</translation>
    </message>
    <message>
        <source>only one list can go to standard output</source>
        <translation>une seule liste peut aller sur la sortie standard</translation>
    </message>
    <message>
        <source>Write to PATH the lines only in one file that look like a line only in the other: LINE1&lt;TAB&gt;LINE2&lt;TAB&gt;what differs, at most 10 a line, then LINE1&lt;TAB&gt;&lt;TAB&gt;and N more like it.</source>
        <translation>Écrire dans PATH les lignes d&apos;un seul fichier qui ressemblent à une ligne du seul autre : LINE1&lt;TAB&gt;LINE2&lt;TAB&gt;ce qui diffère, au plus 10 par ligne, puis LINE1&lt;TAB&gt;&lt;TAB&gt;and N more like it.</translation>
    </message>
    <message>
        <source>Try &apos;quillmark-compare --help&apos; for more information.</source>
        <translation>Essayez &apos;quillmark-compare --help&apos; pour plus d&apos;informations.</translation>
    </message>
    <message>
        <source>standard output: %1</source>
        <translation>sortie standard : %1</translation>
    </message>
</context>
<context>
    <name>CompareEngine</name>
    <message>
        <source>&quot;%1&quot; has more than 2,147,483,647 lines</source>
        <translation>« %1 » a plus de 2 147 483 647 lignes</translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot; have too many lines to compare at once (3,000,000,000 together at most)</source>
        <translation>« %1 » et « %2 » ont trop de lignes pour être comparés ensemble (3 000 000 000 au plus)</translation>
    </message>
</context>
<context>
    <name>CompareMessages</name>
    <message>
        <source>You forgot to input file #1.</source>
        <translation>Vous avez oublié d&apos;indiquer le fichier nº 1.</translation>
    </message>
    <message>
        <source>You forgot to input file #2.</source>
        <translation>Vous avez oublié d&apos;indiquer le fichier nº 2.</translation>
    </message>
    <message>
        <source>File #1 not found.</source>
        <translation>Fichier nº 1 introuvable.</translation>
    </message>
    <message>
        <source>File #2 not found.</source>
        <translation>Fichier nº 2 introuvable.</translation>
    </message>
</context>
<context>
    <name>CompareOptions</name>
    <message>
        <source>The key field must be a number from 1 up.</source>
        <translation>Le champ clé doit être un nombre à partir de 1.</translation>
    </message>
    <message>
        <source>Further key fields need a first key field.</source>
        <translation>D&apos;autres champs clés nécessitent un premier champ clé.</translation>
    </message>
    <message>
        <source>The key fields are given twice.</source>
        <translation>Les champs clés sont donnés deux fois.</translation>
    </message>
    <message>
        <source>Fields can be named only when the first line names them.</source>
        <translation>Les champs ne peuvent être nommés que si la première ligne les nomme.</translation>
    </message>
    <message>
        <source>Ignored fields need a key field.</source>
        <translation>Les champs ignorés nécessitent un champ clé.</translation>
    </message>
    <message>
        <source>Field %1 is part of the key and cannot be ignored.</source>
        <translation>Le champ %1 fait partie de la clé et ne peut pas être ignoré.</translation>
    </message>
    <message>
        <source>The field delimiter must be one character, tab or space.</source>
        <translation>Le délimiteur de champs doit être un caractère, tab ou espace.</translation>
    </message>
    <message>
        <source>A key field and a key pattern cannot be used together.</source>
        <translation>Un champ clé et un motif de clé ne peuvent pas être utilisés ensemble.</translation>
    </message>
    <message>
        <source>The key pattern &quot;%1&quot; does not compile: %2 (at character %3).</source>
        <translation>Le motif de clé « %1 » est invalide : %2 (au caractère %3).</translation>
    </message>
    <message>
        <source>No field is named &quot;%1&quot; in the first line of file 1.</source>
        <translation>Aucun champ ne s&apos;appelle « %1 » dans la première ligne du fichier 1.</translation>
    </message>
</context>
<context>
    <name>DiskComparison</name>
    <message>
        <source>A file in the temporary folder %1 does not hold what was written to it.</source>
        <translation>Un fichier du dossier temporaire %1 ne contient pas ce qui y a été écrit.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has more than 2,147,483,647 lines</source>
        <translation>« %1 » a plus de 2 147 483 647 lignes</translation>
    </message>
    <message>
        <source>The temporary folder %1 has %2 MB free; comparing these files from disk takes about %3 MB.</source>
        <translation>Le dossier temporaire %1 a %2 Mo libres ; comparer ces fichiers depuis le disque demande environ %3 Mo.</translation>
    </message>
</context>
<context>
    <name>ErrorTrap</name>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>Unexpected error</source>
        <translation>Erreur inattendue</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Veuillez envoyer une capture d&apos;écran de ce message à %1</translation>
    </message>
    <message>
        <source>in %1 </source>
        <translation>dans %1 </translation>
    </message>
    <message>
        <source>%1at line %2</source>
        <translation>%1à la ligne %2</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Erreur de l&apos;application</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>Impossible de créer %1 : %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation>Impossible de créer le dossier %1 : %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Impossible d&apos;ouvrir %1 : %2</translation>
    </message>
    <message>
        <source>Cannot open the folder %1: %2</source>
        <translation>Impossible d&apos;ouvrir le dossier %1 : %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>Cannot restrict the folder %1: %2</source>
        <translation>Impossible de restreindre l&apos;accès au dossier %1 : %2</translation>
    </message>
    <message>
        <source>Cannot use the folder %1: %2</source>
        <translation>Impossible d&apos;utiliser le dossier %1 : %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d&apos;écrire %1 : %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>c&apos;est un dossier</translation>
    </message>
    <message>
        <source>it is a FIFO</source>
        <translation>c&apos;est une FIFO</translation>
    </message>
    <message>
        <source>it is a socket</source>
        <translation>c&apos;est un socket</translation>
    </message>
    <message>
        <source>it is a device</source>
        <translation>c&apos;est un périphérique</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Cannot read %1: it is too large (over %2 bytes)</source>
        <translation>Impossible de lire %1 : il est trop grand (plus de %2 octets)</translation>
    </message>
    <message>
        <source>Cannot read %1: not enough memory</source>
        <translation>Impossible de lire %1 : mémoire insuffisante</translation>
    </message>
    <message>
        <source>Cannot write a file without a name</source>
        <translation>Impossible d&apos;écrire un fichier sans nom</translation>
    </message>
    <message>
        <source>it is a FIFO that no program reads</source>
        <translation>c&apos;est une FIFO qu&apos;aucun programme ne lit</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>le fichier est en lecture seule</translation>
    </message>
    <message>
        <source> (the file now holds part of the new text)</source>
        <translation> (le fichier contient maintenant une partie du nouveau texte)</translation>
    </message>
    <message>
        <source>the save was stopped by a signal</source>
        <translation>l&apos;enregistrement a été arrêté par un signal</translation>
    </message>
    <message>
        <source>other users may change it</source>
        <translation>d&apos;autres utilisateurs peuvent le modifier</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>c&apos;est un lien symbolique</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>il appartient à un autre utilisateur</translation>
    </message>
    <message>
        <source>There is no cache folder to keep the pasted text in.</source>
        <translation>Il n&apos;y a pas de dossier de cache où garder le texte collé.</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Occurrence précédente (Maj+F3)</translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation>Occurrence suivante (F3)</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Fermer (Échap)</translation>
    </message>
    <message>
        <source>Find in this list</source>
        <translation>Rechercher dans cette liste</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>Recherche…</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Introuvable</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 sur %2</translation>
    </message>
    <message>
        <source>%1 found</source>
        <translation>%1 trouvés</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message numerus="yes">
        <source>%1, %Ln checked</source>
        <translation>
            <numerusform>%1, %Ln cochée</numerusform>
            <numerusform>%1, %Ln cochées</numerusform>
        </translation>
    </message>
    <message>
        <source>1 line</source>
        <translation>1 ligne</translation>
    </message>
    <message numerus="yes">
        <source>%Ln lines</source>
        <translation>
            <numerusform>%Ln ligne</numerusform>
            <numerusform>%Ln lignes</numerusform>
        </translation>
    </message>
    <message>
        <source>Compares two text files line by line into three lists</source>
        <translation>Compare deux fichiers texte ligne par ligne en trois listes</translation>
    </message>
    <message>
        <source>Tells where to send questions</source>
        <translation>Indique où envoyer vos questions</translation>
    </message>
    <message>
        <source>Fills both path fields with the sample files and offers to open their folder</source>
        <translation>Remplit les deux champs de chemin avec les fichiers d&apos;exemple et propose d&apos;ouvrir leur dossier</translation>
    </message>
    <message>
        <source>The path of the first file to compare</source>
        <translation>Le chemin du premier fichier à comparer</translation>
    </message>
    <message>
        <source>Picks the first file with an open-file dialog</source>
        <translation>Choisit le premier fichier dans une boîte de dialogue</translation>
    </message>
    <message>
        <source>The path of the second file to compare</source>
        <translation>Le chemin du second fichier à comparer</translation>
    </message>
    <message>
        <source>Picks the second file with an open-file dialog</source>
        <translation>Choisit le second fichier dans une boîte de dialogue</translation>
    </message>
    <message>
        <source>Browse for %1</source>
        <translation>Parcourir : %1</translation>
    </message>
    <message>
        <source>Uses the text on the clipboard as the first file</source>
        <translation>Utilise le texte du presse-papiers comme premier fichier</translation>
    </message>
    <message>
        <source>Uses the text on the clipboard as the second file</source>
        <translation>Utilise le texte du presse-papiers comme second fichier</translation>
    </message>
    <message>
        <source>Paste as %1</source>
        <translation>Coller comme %1</translation>
    </message>
    <message>
        <source>Keeps the text on the clipboard as a file of its own and puts its path in the first field</source>
        <translation>Garde le texte du presse-papiers comme fichier à part et met son chemin dans le premier champ</translation>
    </message>
    <message>
        <source>Keeps the text on the clipboard as a file of its own and puts its path in the second field</source>
        <translation>Garde le texte du presse-papiers comme fichier à part et met son chemin dans le second champ</translation>
    </message>
    <message>
        <source>When checked, lines that differ only in letter case are different</source>
        <translation>Si cochée, les lignes qui ne diffèrent que par la casse sont différentes</translation>
    </message>
    <message>
        <source>More Options</source>
        <translation>Plus d&apos;options</translation>
    </message>
    <message>
        <source>Opens or closes the options of the compared fields, the field names, the ignored fields, the key pattern, look-alike lines and empty lines</source>
        <translation>Ouvre ou ferme les options des champs comparés, des noms de champs, des champs ignorés, du motif de clé, des lignes semblables et des lignes vides</translation>
    </message>
    <message>
        <source>Compare Field</source>
        <translation>Champ clé</translation>
    </message>
    <message>
        <source>The fields of each line that are compared, counted from 1 and separated by commas, or their names when the first line names them; empty compares the whole line</source>
        <translation>Les champs comparés de chaque ligne, comptés à partir de 1 et séparés par des virgules, ou leurs noms quand la première ligne les nomme ; vide compare la ligne entière</translation>
    </message>
    <message>
        <source>First line names the fields</source>
        <translation>La première ligne nomme les champs</translation>
    </message>
    <message>
        <source>Ignore fields</source>
        <translation>Ignorer</translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Délimiteur</translation>
    </message>
    <message>
        <source>What separates the fields: one character, Tab, or Space for runs of blanks and tabs</source>
        <translation>Ce qui sépare les champs : un caractère, Tab, ou Space pour les suites de blancs et tabulations</translation>
    </message>
    <message>
        <source>Key Pattern</source>
        <translation>Motif de clé</translation>
    </message>
    <message>
        <source>A regular expression whose first group, or whole match, is compared; a line it does not match is compared whole</source>
        <translation>Une expression régulière dont le premier groupe, ou la correspondance entière, est comparé ; une ligne où elle ne trouve rien est comparée entière</translation>
    </message>
    <message>
        <source>Look-Alike Lines Match</source>
        <translation>Lignes semblables égales</translation>
    </message>
    <message>
        <source>Skip Empty Lines</source>
        <translation>Sans lignes vides</translation>
    </message>
    <message>
        <source>Compares the two files and fills the three lists</source>
        <translation>Compare les deux fichiers et remplit les trois listes</translation>
    </message>
    <message>
        <source>Empties all three lists</source>
        <translation>Vide les trois listes</translation>
    </message>
    <message>
        <source>Saves the list &quot;%1&quot; as a text file</source>
        <translation>Enregistre la liste « %1 » comme fichier texte</translation>
    </message>
    <message>
        <source>Copies the checked lines of &quot;%1&quot; to the clipboard</source>
        <translation>Copie les lignes cochées de « %1 » dans le presse-papiers</translation>
    </message>
    <message>
        <source>Vertical scroll bar of %1</source>
        <translation>Barre de défilement verticale de %1</translation>
    </message>
    <message>
        <source>Horizontal scroll bar of %1</source>
        <translation>Barre de défilement horizontale de %1</translation>
    </message>
    <message>
        <source>Reading the files...</source>
        <translation>Lecture des fichiers...</translation>
    </message>
    <message>
        <source>Reading &quot;%1&quot;...</source>
        <translation>Lecture de « %1 »...</translation>
    </message>
    <message>
        <source>Comparing the lines...</source>
        <translation>Comparaison des lignes...</translation>
    </message>
    <message>
        <source>Making the lists...</source>
        <translation>Création des listes...</translation>
    </message>
    <message>
        <source>Finding look-alike lines...</source>
        <translation>Recherche des lignes semblables...</translation>
    </message>
    <message>
        <source>Splitting file %1 ... %2 %</source>
        <translation>Découpage du fichier %1 ... %2 %</translation>
    </message>
    <message>
        <source>Comparing part %1 of %2</source>
        <translation>Comparaison de la partie %1 sur %2</translation>
    </message>
    <message>
        <source>Writing the lists...</source>
        <translation>Écriture des listes...</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Fichiers récents</translation>
    </message>
    <message>
        <source>Recent files (Alt+Down)</source>
        <translation>Fichiers récents (Alt+Bas)</translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation>Charger des listes - Maintenir Ctrl pour choisir plusieurs fichiers</translation>
    </message>
    <message>
        <source>Text Files (*.txt)|*.txt|All Files (*.*)|*.*|</source>
        <translation>Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Please select one or two files: the first goes into this field, the second into the other one.</source>
        <translation>Veuillez choisir un ou deux fichiers : le premier va dans ce champ, le second dans l&apos;autre.</translation>
    </message>
    <message>
        <source>The clipboard holds no text to paste. Copy the lines to compare, then click Paste again.</source>
        <translation>Le presse-papiers ne contient aucun texte à coller. Copiez les lignes à comparer, puis cliquez de nouveau sur Coller.</translation>
    </message>
    <message>
        <source>Questions? Please contact Team Harrowmere at %1</source>
        <translation>Des questions ? Contactez l&apos;équipe Harrowmere à l&apos;adresse %1</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Voulez-vous que ce logiciel ouvre le dossier où sont rangés ces fichiers d&apos;exemple (pour les consulter avant de travailler avec) ?</translation>
    </message>
    <message>
        <source>Scroll the window</source>
        <translation>Faire défiler la fenêtre</translation>
    </message>
    <message>
        <source>Why is this line not in File #%1?</source>
        <translation>Pourquoi cette ligne n&apos;est-elle pas dans le fichier nº %1 ?</translation>
    </message>
    <message>
        <source>Results have been copied to the clipboard.</source>
        <translation>Les résultats ont été copiés dans le presse-papiers.</translation>
    </message>
    <message>
        <source>Click a text area where you normally type and press Ctrl+V to paste the clipboard.</source>
        <translation>Cliquez dans une zone de texte où vous écrivez et appuyez sur Ctrl+V pour coller le presse-papiers.</translation>
    </message>
    <message>
        <source>Save All Lists As CSV...</source>
        <translation>Enregistrer toutes les listes en CSV...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Text Files(*.txt)|*.txt|All Files (*.*)|*.*|</source>
        <translation>Fichiers texte (*.txt)|*.txt|Tous les fichiers (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Save All Lists As CSV</source>
        <translation>Enregistrer toutes les listes en CSV</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)|*.csv|All Files (*.*)|*.*|</source>
        <translation>Fichiers CSV (*.csv)|*.csv|Tous les fichiers (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Saving &quot;%1&quot;...</source>
        <translation>Enregistrement de « %1 »...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Text File #1</source>
        <translation>Fichier texte nº 1</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>Compare Options</source>
        <translation>Options de comparaison</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>Même casse</translation>
    </message>
    <message>
        <source>Ignore Blanks At Line Ends</source>
        <translation>Ignorer les blancs aux bouts</translation>
    </message>
    <message>
        <source>List Each Line Once</source>
        <translation>Chaque ligne une fois</translation>
    </message>
    <message>
        <source>Blanks and tabs at the start and end of a line do not count when lines are compared</source>
        <translation>Les blancs et tabulations en début et fin de ligne ne comptent pas dans la comparaison</translation>
    </message>
    <message>
        <source>Each list holds a line only at its first place; later repeats are left out</source>
        <translation>Chaque liste ne contient une ligne qu&apos;à sa première place ; les répétitions suivantes sont omises</translation>
    </message>
    <message>
        <source>Text File #2</source>
        <translation>Fichier texte nº 2</translation>
    </message>
    <message>
        <source>Start Comparing</source>
        <translation>Lancer la comparaison</translation>
    </message>
    <message>
        <source>Clear All Results</source>
        <translation>Effacer les résultats</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Charger les exemples</translation>
    </message>
    <message>
        <source>Compare &amp;Field</source>
        <translation>&amp;Champ clé</translation>
    </message>
    <message>
        <source>Whole line</source>
        <translation>Ligne entière</translation>
    </message>
    <message>
        <source>Compares only these fields of each line, counted from 1 (&quot;1,3&quot;), or named in the first line (&quot;id,region&quot;); empty compares the whole line. With a key, lines of file 1 whose key file 2 holds on another line are listed as changed</source>
        <translation>Ne compare que ces champs de chaque ligne, comptés à partir de 1 (« 1,3 ») ou nommés dans la première ligne (« id,region ») ; vide compare la ligne entière. Avec une clé, les lignes du fichier 1 dont le fichier 2 contient la clé sur une autre ligne sont listées comme modifiées</translation>
    </message>
    <message>
        <source>&amp;Delimiter</source>
        <translation>&amp;Délimiteur</translation>
    </message>
    <message>
        <source>What separates the fields: one character; Space splits at runs of blanks and tabs; with &quot;,&quot; or &quot;;&quot; a field in double quotes may hold it</source>
        <translation>Ce qui sépare les champs : un caractère ; Space coupe aux suites de blancs et tabulations ; avec « , » ou « ; » un champ entre guillemets peut le contenir</translation>
    </message>
    <message>
        <source>&amp;Key Pattern</source>
        <translation>&amp;Motif de clé</translation>
    </message>
    <message>
        <source>regular expression; first group is compared</source>
        <translation>expression régulière ; le premier groupe est comparé</translation>
    </message>
    <message>
        <source>Compares the pattern&apos;s first group, or its whole match when it has no group; a line it does not match is compared whole</source>
        <translation>Compare le premier groupe du motif, ou toute sa correspondance s&apos;il n&apos;a pas de groupe ; une ligne où il ne trouve rien est comparée entière</translation>
    </message>
    <message>
        <source>&amp;Look-Alike Lines Match</source>
        <translation>Lignes &amp;semblables égales</translation>
    </message>
    <message>
        <source>No-break and other Unicode spaces, zero-width characters, NFC/NFD spellings and Windows-1252 bytes count as what they look like</source>
        <translation>Les espaces insécables et autres espaces Unicode, les caractères sans largeur, les graphies NFC/NFD et les octets Windows-1252 comptent pour ce qu&apos;ils semblent être</translation>
    </message>
    <message>
        <source>&amp;Skip Empty Lines</source>
        <translation>Sans lignes &amp;vides</translation>
    </message>
    <message>
        <source>Lines whose compared part is empty are in no list</source>
        <translation>Les lignes dont la partie comparée est vide ne sont dans aucune liste</translation>
    </message>
    <message>
        <source>First line &amp;names the fields</source>
        <translation>1re ligne : &amp;noms des champs</translation>
    </message>
    <message>
        <source>The first line of each file holds the fields&apos; names: it is neither compared nor listed, and fields can be given by name</source>
        <translation>La première ligne de chaque fichier contient les noms des champs : elle n&apos;est ni comparée ni listée, et les champs peuvent être donnés par leur nom</translation>
    </message>
    <message>
        <source>I&amp;gnore fields</source>
        <translation>I&amp;gnorer</translation>
    </message>
    <message>
        <source>none</source>
        <translation>aucun</translation>
    </message>
    <message>
        <source>Fields whose differences do not make a line changed (&quot;4,5&quot;, or names with the first line naming the fields); never a field of the key</source>
        <translation>Champs dont les différences ne rendent pas une ligne modifiée (« 4,5 », ou des noms quand la première ligne nomme les champs) ; jamais un champ de la clé</translation>
    </message>
    <message>
        <source>&amp;More Options (set)</source>
        <translation>&amp;Plus d&apos;options (actives)</translation>
    </message>
    <message>
        <source>&amp;More Options</source>
        <translation>&amp;Plus d&apos;options</translation>
    </message>
    <message>
        <source>Result(s)</source>
        <translation>Résultat(s)</translation>
    </message>
    <message>
        <source>%1. Space checks the selected lines, Delete removes the selected lines, Ctrl+C copies the selected lines, the Menu key opens the menu.</source>
        <translation>%1. Espace coche les lignes sélectionnées, Suppr retire les lignes sélectionnées, Ctrl+C copie les lignes sélectionnées, la touche Menu ouvre le menu.</translation>
    </message>
    <message>
        <source>The key pattern gave up on 1 line (its match limit); it was compared whole.</source>
        <translation>Le motif de clé a abandonné sur 1 ligne (sa limite de recherche) ; elle a été comparée entière.</translation>
    </message>
    <message>
        <source>The key pattern gave up on %1 lines (its match limit); they were compared whole.</source>
        <translation>Le motif de clé a abandonné sur %1 lignes (sa limite de recherche) ; elles ont été comparées entières.</translation>
    </message>
    <message>
        <source>How to Read the Lists</source>
        <translation>Comment lire les listes</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>an empty line</source>
        <translation>une ligne vide</translation>
    </message>
    <message>
        <source>File #1</source>
        <translation>Fichier nº 1</translation>
    </message>
    <message>
        <source>File #2</source>
        <translation>Fichier nº 2</translation>
    </message>
    <message>
        <source>How to Read the Lists</source>
        <translation>Comment lire les listes</translation>
    </message>
    <message>
        <source>The marks in a list</source>
        <translation>Les marques dans une liste</translation>
    </message>
    <message>
        <source>A row marks what its text would not show, so that lines that look alike on the screen do not look alike in the list. The marks are only drawn: copying and saving give the lines as they are.</source>
        <translation>Une ligne marque ce que son texte ne montrerait pas, pour que des lignes qui se ressemblent à l&apos;écran ne se ressemblent pas dans la liste. Les marques sont seulement dessinées : copier et enregistrer donnent les lignes telles qu&apos;elles sont.</translation>
    </message>
    <message>
        <source>Blanks at the end of a line: a faint dot for each.</source>
        <translation>Blancs en fin de ligne : un point pâle pour chacun.</translation>
    </message>
    <message>
        <source>A tab at the end of a line: an arrow.</source>
        <translation>Une tabulation en fin de ligne : une flèche.</translation>
    </message>
    <message>
        <source>A no-break or other Unicode space: a faint box.</source>
        <translation>Un espace insécable ou autre espace Unicode : un cadre pâle.</translation>
    </message>
    <message>
        <source>A character of no width: a thin bar.</source>
        <translation>Un caractère sans largeur : une barre fine.</translation>
    </message>
    <message>
        <source>A control character: ^ and its letter in a small box.</source>
        <translation>Un caractère de contrôle : ^ et sa lettre dans un petit cadre.</translation>
    </message>
    <message>
        <source>A byte that is not UTF-8: its Windows-1252 character, tinted.</source>
        <translation>Un octet qui n&apos;est pas de l&apos;UTF-8 : son caractère Windows-1252, teinté.</translation>
    </message>
    <message>
        <source>A letter with its accent written as a separate mark: underlined.</source>
        <translation>Une lettre dont l&apos;accent est écrit comme signe à part : soulignée.</translation>
    </message>
    <message>
        <source>In the list of lines changed in file 2, the fields that changed are outlined, and what file 2 has instead follows an arrow.</source>
        <translation>Dans la liste des lignes modifiées dans le fichier 2, les champs modifiés sont encadrés, et ce que le fichier 2 a à la place suit une flèche.</translation>
    </message>
    <message>
        <source>The overlap bar</source>
        <translation>La barre de recouvrement</translation>
    </message>
    <message>
        <source>Beside Start Comparing once the files are compared: the distinct lines (each counted once, however often it occurs) only in file 1, in both files, and only in file 2, each in the colour of its list, and the share of distinct lines the two files have in common. Here 4 only in file 1, 5 in both, 3 only in file 2: 42 % in common. The counts on the lists&apos; frames count every line. Compared on a key, the bar counts keys and adds those changed. Point at the bar to read its numbers in words.</source>
        <translation>À côté de « Lancer la comparaison » une fois les fichiers comparés : les lignes distinctes (chacune comptée une fois, quel que soit son nombre d&apos;occurrences) seulement dans le fichier 1, dans les deux fichiers et seulement dans le fichier 2, chacune de la couleur de sa liste, et la part des lignes distinctes que les deux fichiers ont en commun. Ici 4 seulement dans le fichier 1, 5 dans les deux, 3 seulement dans le fichier 2 : 42 % en commun. Les comptes sur les cadres des listes comptent chaque ligne. Comparée sur une clé, la barre compte des clés et ajoute celles modifiées. Pointez la barre pour lire ses nombres en toutes lettres.</translation>
    </message>
    <message>
        <source>The options</source>
        <translation>Les options</translation>
    </message>
    <message>
        <source>Each option below changes the answer for the two lines beside it. Those under More Options compare lines on a key: a part of each line, with a list of the lines whose key file 2 holds changed.</source>
        <translation>Chaque option ci-dessous change la réponse pour les deux lignes à côté. Celles de « Plus d&apos;options » comparent les lignes sur une clé : une partie de chaque ligne, avec une liste des lignes dont le fichier 2 contient la clé modifiée.</translation>
    </message>
    <message>
        <source>Match Case: off, these are the same line; on, they differ.</source>
        <translation>Même casse : désactivée, c&apos;est la même ligne ; activée, elles diffèrent.</translation>
    </message>
    <message>
        <source>Ignore Blanks At Line Ends: on, blanks and tabs at either end of a line do not count, and these are the same line.</source>
        <translation>Ignorer les blancs aux bouts : activée, les blancs et tabulations aux extrémités d&apos;une ligne ne comptent pas, et c&apos;est la même ligne.</translation>
    </message>
    <message>
        <source>List Each Line Once: on, a line that occurs more than once is listed once, where it first occurs.</source>
        <translation>Chaque ligne une fois : activée, une ligne présente plusieurs fois est listée une fois, à sa première place.</translation>
    </message>
    <message>
        <source>Compare Field 1 with the Delimiter &quot;,&quot;: these lines have the same key, 7, and are listed as changed: the third field differs.</source>
        <translation>Champ clé 1 avec le délimiteur « , » : ces lignes ont la même clé, 7, et sont listées comme modifiées : le troisième champ diffère.</translation>
    </message>
    <message>
        <source>First line names the fields: Compare Field and Ignore fields then take names (&quot;id&quot;), and the first line is not compared.</source>
        <translation>La première ligne nomme les champs : « Champ clé » et « Ignorer » prennent alors des noms (« id »), et la première ligne n&apos;est pas comparée.</translation>
    </message>
    <message>
        <source>Ignore fields 3: a record that differs only there is not changed.</source>
        <translation>Ignorer les champs 3 : un enregistrement qui ne diffère que là n&apos;est pas modifié.</translation>
    </message>
    <message>
        <source>Key Pattern ORD-\d+: the lines have the same key, what the pattern finds (its first group, if it has one). A line it finds nothing in is compared whole.</source>
        <translation>Motif de clé ORD-\d+ : les lignes ont la même clé, ce que le motif trouve (son premier groupe, s&apos;il en a un). Une ligne où il ne trouve rien est comparée entière.</translation>
    </message>
    <message>
        <source>Look-Alike Lines Match: on, accents written either way, Unicode spaces and characters of no width do not count, and these are the same line.</source>
        <translation>Lignes semblables égales : activée, les accents écrits d&apos;une façon ou de l&apos;autre, les espaces Unicode et les caractères sans largeur ne comptent pas, et c&apos;est la même ligne.</translation>
    </message>
    <message>
        <source>Skip Empty Lines: on, empty lines are left out of every list and count.</source>
        <translation>Sans lignes vides : activée, les lignes vides sont exclues de toutes les listes et de tous les comptes.</translation>
    </message>
    <message>
        <source>Questions? The Help button tells where to ask.</source>
        <translation>Des questions ? Le bouton « Aide » indique où les poser.</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>The desktop cannot open %1</source>
        <translation>Le bureau ne peut pas ouvrir %1</translation>
    </message>
</context>
<context>
    <name>LineMarks</name>
    <message>
        <source>has a byte that is not UTF-8</source>
        <translation>a un octet qui n&apos;est pas de l&apos;UTF-8</translation>
    </message>
    <message>
        <source>has bytes that are not UTF-8</source>
        <translation>a des octets qui ne sont pas de l&apos;UTF-8</translation>
    </message>
    <message>
        <source>has a control character</source>
        <translation>a un caractère de contrôle</translation>
    </message>
    <message>
        <source>has control characters</source>
        <translation>a des caractères de contrôle</translation>
    </message>
    <message>
        <source>has a zero-width character</source>
        <translation>a un caractère sans largeur</translation>
    </message>
    <message>
        <source>has zero-width characters</source>
        <translation>a des caractères sans largeur</translation>
    </message>
    <message>
        <source>has a no-break space</source>
        <translation>a un espace insécable</translation>
    </message>
    <message>
        <source>has an unusual space</source>
        <translation>a un espace inhabituel</translation>
    </message>
    <message>
        <source>has a decomposed accent</source>
        <translation>a un accent décomposé</translation>
    </message>
    <message>
        <source>has decomposed accents</source>
        <translation>a des accents décomposés</translation>
    </message>
    <message>
        <source>ends with blanks and tabs</source>
        <translation>finit par des blancs et des tabulations</translation>
    </message>
    <message>
        <source>ends with a blank</source>
        <translation>finit par un blanc</translation>
    </message>
    <message>
        <source>ends with %1 blanks</source>
        <translation>finit par %1 blancs</translation>
    </message>
    <message>
        <source>ends with a tab</source>
        <translation>finit par une tabulation</translation>
    </message>
    <message>
        <source>ends with %1 tabs</source>
        <translation>finit par %1 tabulations</translation>
    </message>
</context>
<context>
    <name>ListCounts</name>
    <message>
        <source>1 line</source>
        <translation>1 ligne</translation>
    </message>
    <message numerus="yes">
        <source>%Ln lines</source>
        <translation>
            <numerusform>%Ln ligne</numerusform>
            <numerusform>%Ln lignes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln checked</source>
        <translation>
            <numerusform>%Ln cochée</numerusform>
            <numerusform>%Ln cochées</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ListKinds</name>
    <message>
        <source>Lines In Both Text Files</source>
        <translation>Lignes dans les deux fichiers</translation>
    </message>
    <message>
        <source>Write the lines of FILE1 also in FILE2 to PATH.</source>
        <translation>Écrire dans PATH les lignes de FILE1 aussi dans FILE2.</translation>
    </message>
    <message>
        <source>Lines In File 1 That Are Not In File 2</source>
        <translation>Lignes du fichier 1 absentes du fichier 2</translation>
    </message>
    <message>
        <source>Write the lines of FILE1 not in FILE2 to PATH.</source>
        <translation>Écrire dans PATH les lignes de FILE1 absentes de FILE2.</translation>
    </message>
    <message>
        <source>Lines In File 2 That Are Not In File 1</source>
        <translation>Lignes du fichier 2 absentes du fichier 1</translation>
    </message>
    <message>
        <source>Write the lines of FILE2 not in FILE1 to PATH.</source>
        <translation>Écrire dans PATH les lignes de FILE2 absentes de FILE1.</translation>
    </message>
    <message>
        <source>Lines Changed In File 2</source>
        <translation>Lignes modifiées dans le fichier 2</translation>
    </message>
    <message>
        <source>With a key, write to PATH the lines of FILE1 that FILE2 holds changed.</source>
        <translation>Avec une clé, écrire dans PATH les lignes de FILE1 que FILE2 contient modifiées.</translation>
    </message>
</context>
<context>
    <name>NearMissDialog</name>
    <message>
        <source>File #%1</source>
        <translation>fichier nº %1</translation>
    </message>
    <message>
        <source> (%1 characters in all)</source>
        <translation> (%1 caractères en tout)</translation>
    </message>
    <message>
        <source>No line of %1 comes close to this one.</source>
        <translation>Aucune ligne du %1 n&apos;est proche de celle-ci.</translation>
    </message>
    <message>
        <source>1 line of %1 looks like it, but for what differs.</source>
        <translation>1 ligne du %1 lui ressemble, à part ce qui diffère.</translation>
    </message>
    <message>
        <source>%1 lines of %2 look like it, but for what differs.</source>
        <translation>%1 lignes du %2 lui ressemblent, à part ce qui diffère.</translation>
    </message>
    <message>
        <source>Differs in %1.</source>
        <translation>Diffère par : %1.</translation>
    </message>
    <message>
        <source>Line %1 of %2:</source>
        <translation>Ligne %1 du %2 :</translation>
    </message>
    <message>
        <source>Still looking for lines of %1 that look like it...</source>
        <translation>Recherche en cours des lignes du %1 qui lui ressemblent...</translation>
    </message>
    <message>
        <source>The lines of %1 that look like it could not be found: there was not enough memory.</source>
        <translation>Les lignes du %1 qui lui ressemblent n&apos;ont pas pu être trouvées : la mémoire manquait.</translation>
    </message>
    <message>
        <source>is not in %1.</source>
        <translation>n&apos;est pas dans le %1.</translation>
    </message>
    <message>
        <source>Why is this line not in %1?</source>
        <translation>Pourquoi cette ligne n&apos;est-elle pas dans le %1 ?</translation>
    </message>
    <message>
        <source>The line %1.</source>
        <translation>La ligne %1.</translation>
    </message>
    <message>
        <source>... and %1 more like it, not listed here.</source>
        <translation>... et %1 de plus qui lui ressemblent, non listées ici.</translation>
    </message>
</context>
<context>
    <name>NearMisses</name>
    <message>
        <source>letter case</source>
        <translation>casse des lettres</translation>
    </message>
    <message>
        <source>blanks or tabs at line ends</source>
        <translation>blancs ou tabulations en fin de ligne</translation>
    </message>
    <message>
        <source>Unicode spelling (NFC/NFD)</source>
        <translation>graphie Unicode (NFC/NFD)</translation>
    </message>
    <message>
        <source>no-break or other Unicode spaces</source>
        <translation>espaces insécables ou autres espaces Unicode</translation>
    </message>
    <message>
        <source>zero-width characters</source>
        <translation>caractères sans largeur</translation>
    </message>
    <message>
        <source>Windows-1252 bytes against UTF-8</source>
        <translation>octets Windows-1252 contre UTF-8</translation>
    </message>
    <message>
        <source>control or format characters</source>
        <translation>caractères de contrôle ou de format</translation>
    </message>
    <message>
        <source>blanks or tabs inside the line</source>
        <translation>blancs ou tabulations à l&apos;intérieur de la ligne</translation>
    </message>
    <message>
        <source>turn off Match Case</source>
        <translation>désactivez « Même casse »</translation>
    </message>
    <message>
        <source>turn on Ignore Blanks At Line Ends</source>
        <translation>activez « Ignorer les blancs aux bouts »</translation>
    </message>
    <message>
        <source>turn on Look-Alike Lines Match</source>
        <translation>activez « Lignes semblables égales »</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 et %2</translation>
    </message>
    <message>
        <source>in a tab against a blank inside the line</source>
        <translation>par une tabulation au lieu d&apos;un blanc dans la ligne</translation>
    </message>
    <message>
        <source>in tabs against blanks inside the line</source>
        <translation>par des tabulations au lieu de blancs dans la ligne</translation>
    </message>
    <message>
        <source>in the blanks and tabs inside the line</source>
        <translation>par les blancs et tabulations dans la ligne</translation>
    </message>
    <message>
        <source>in the blanks inside the line</source>
        <translation>par les blancs dans la ligne</translation>
    </message>
    <message>
        <source>by a format character (%1)</source>
        <translation>par un caractère de format (%1)</translation>
    </message>
    <message>
        <source>by a control character (%1)</source>
        <translation>par un caractère de contrôle (%1)</translation>
    </message>
    <message>
        <source>by format characters (%1)</source>
        <translation>par des caractères de format (%1)</translation>
    </message>
    <message>
        <source>by control characters (%1)</source>
        <translation>par des caractères de contrôle (%1)</translation>
    </message>
    <message>
        <source>in case</source>
        <translation>par la casse</translation>
    </message>
    <message>
        <source>in blanks at the ends</source>
        <translation>par les blancs aux extrémités</translation>
    </message>
    <message>
        <source>in how the characters are written (composed accents, no-break spaces, look-alike forms)</source>
        <translation>par la façon d&apos;écrire les caractères (accents composés, espaces insécables, formes semblables)</translation>
    </message>
    <message>
        <source>in the key the comparison takes</source>
        <translation>par la clé que prend la comparaison</translation>
    </message>
    <message>
        <source>Differs %1; no option makes them match.</source>
        <translation>Diffère %1 ; aucune option ne les rend égales.</translation>
    </message>
    <message>
        <source>, or </source>
        <translation>, ou </translation>
    </message>
    <message>
        <source>Differs only %1: %2.</source>
        <translation>Diffère seulement %1 : %2.</translation>
    </message>
    <message>
        <source>Differs %1: %2.</source>
        <translation>Diffère %1 : %2.</translation>
    </message>
</context>
<context>
    <name>OverlapBar</name>
    <message>
        <source>only in file 1</source>
        <translation>seulement dans le fichier 1</translation>
    </message>
    <message>
        <source>only in 1</source>
        <translation>seul. dans 1</translation>
    </message>
    <message>
        <source>only in file 2</source>
        <translation>seulement dans le fichier 2</translation>
    </message>
    <message>
        <source>only in 2</source>
        <translation>seul. dans 2</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>inchangées</translation>
    </message>
    <message>
        <source>in both</source>
        <translation>dans les deux</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>modifiées</translation>
    </message>
    <message>
        <source>Overlap of the two files</source>
        <translation>Recouvrement des deux fichiers</translation>
    </message>
    <message>
        <source>%1
(F1 explains the bar.)</source>
        <translation>%1
(F1 explique la barre.)</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 distinct keys %2</source>
        <translation>%1 clés distinctes %2</translation>
    </message>
    <message>
        <source>%1 distinct lines %2</source>
        <translation>%1 lignes distinctes %2</translation>
    </message>
    <message>
        <source>%1; %2 of distinct keys in common</source>
        <translation>%1 ; %2 des clés distinctes en commun</translation>
    </message>
    <message>
        <source>%1; %2 of distinct lines in common</source>
        <translation>%1 ; %2 des lignes distinctes en commun</translation>
    </message>
    <message>
        <source>1 key occurs more than once in file %1</source>
        <translation>1 clé apparaît plusieurs fois dans le fichier %1</translation>
    </message>
    <message>
        <source>%1 keys occur more than once in file %2</source>
        <translation>%1 clés apparaissent plusieurs fois dans le fichier %2</translation>
    </message>
    <message>
        <source>%1 of distinct keys in common</source>
        <translation>%1 des clés distinctes en commun</translation>
    </message>
    <message>
        <source>%1 of distinct lines in common</source>
        <translation>%1 des lignes distinctes en commun</translation>
    </message>
    <message>
        <source>%1 in common</source>
        <translation>%1 en commun</translation>
    </message>
    <message>
        <source>keys repeat</source>
        <translation>clés répétées</translation>
    </message>
    <message>
        <source>Distinct keys:</source>
        <translation>Clés distinctes :</translation>
    </message>
    <message>
        <source>Distinct lines:</source>
        <translation>Lignes distinctes :</translation>
    </message>
</context>
<context>
    <name>ResultList</name>
    <message>
        <source>Invalid list position %1: the list holds %2 items</source>
        <translation>Position %1 invalide : la liste contient %2 éléments</translation>
    </message>
    <message>
        <source>Items can only be put back into an empty list</source>
        <translation>Les éléments ne peuvent être remis que dans une liste vide</translation>
    </message>
    <message>
        <source>A list holds at most 2,147,483,647 lines</source>
        <translation>Une liste contient au plus 2 147 483 647 lignes</translation>
    </message>
    <message>
        <source>Invalid column %1 for a sub-item</source>
        <translation>Colonne %1 invalide pour un sous-élément</translation>
    </message>
    <message>
        <source>The lines cannot go back: the list has changed</source>
        <translation>Les lignes ne peuvent pas revenir : la liste a changé</translation>
    </message>
    <message>
        <source>Invalid column %1: the list has %2 columns</source>
        <translation>Colonne %1 invalide : la liste a %2 colonnes</translation>
    </message>
</context>
<context>
    <name>ResultPane</name>
    <message>
        <source>Save Results As Text File</source>
        <translation>Enregistrer en fichier texte</translation>
    </message>
    <message>
        <source>Copy Results To Clipboard</source>
        <translation>Copier dans le presse-papiers</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Rechercher...</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Rechercher le suivant</translation>
    </message>
    <message>
        <source>Find Previous</source>
        <translation>Rechercher le précédent</translation>
    </message>
</context>
<context>
    <name>ResultView</name>
    <message>
        <source>Line</source>
        <translation>Ligne</translation>
    </message>
    <message>
        <source>Check All</source>
        <translation>Tout cocher</translation>
    </message>
    <message>
        <source>Uncheck All</source>
        <translation>Tout décocher</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Show Line Numbers</source>
        <translation>Afficher les numéros de ligne</translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln checked</source>
        <translation>
            <numerusform>%1, %Ln cochée</numerusform>
            <numerusform>%1, %Ln cochées</numerusform>
        </translation>
    </message>
    <message>
        <source>1 line</source>
        <translation>1 ligne</translation>
    </message>
    <message numerus="yes">
        <source>%Ln lines</source>
        <translation>
            <numerusform>%Ln ligne</numerusform>
            <numerusform>%Ln lignes</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Annuler : %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rétablir : %1</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Cocher</translation>
    </message>
    <message>
        <source>Uncheck</source>
        <translation>Décocher</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>cochée</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>non cochée</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, ligne %2</translation>
    </message>
    <message>
        <source>changed %1</source>
        <translation>modifiée %1</translation>
    </message>
    <message>
        <source>Copy Selected Lines</source>
        <translation>Copier les lignes sélectionnées</translation>
    </message>
    <message>
        <source>empty line</source>
        <translation>ligne vide</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings file cannot be used. %1</source>
        <translation>Le fichier de réglages est inutilisable. %1</translation>
    </message>
    <message>
        <source>Cannot write the settings file %1</source>
        <translation>Impossible d&apos;écrire le fichier de réglages %1</translation>
    </message>
</context>
<context>
    <name>SkinFramework</name>
    <message>
        <source>Cannot read %1: it is too large (over %2 bytes)</source>
        <translation>Impossible de lire %1 : il est trop grand (plus de %2 octets)</translation>
    </message>
    <message>
        <source>The skin file %1 names a picture that cannot be used. %2</source>
        <translation>Le fichier d&apos;habillage %1 nomme une image inutilisable. %2</translation>
    </message>
    <message>
        <source>Cannot use the skin file. %1</source>
        <translation>Impossible d&apos;utiliser le fichier d&apos;habillage. %1</translation>
    </message>
    <message>
        <source>The skin file %1 is not a Quillmark skin: its first line is not &quot;%2&quot;</source>
        <translation>Le fichier d&apos;habillage %1 n&apos;est pas un habillage Quillmark : sa première ligne n&apos;est pas « %2 »</translation>
    </message>
    <message>
        <source>No window to apply the skin to</source>
        <translation>Aucune fenêtre à laquelle appliquer l&apos;habillage</translation>
    </message>
    <message>
        <source>No skin has been loaded</source>
        <translation>Aucun habillage n&apos;a été chargé</translation>
    </message>
</context>
<context>
    <name>StartupRoutines</name>
    <message>
        <source>%1 is not a picture this program can read</source>
        <translation>%1 n&apos;est pas une image que ce programme sait lire</translation>
    </message>
</context>
<context>
    <name>TemporaryFolder</name>
    <message>
        <source>Cannot make a temporary folder in %1: %2</source>
        <translation>Impossible de créer un dossier temporaire dans %1 : %2</translation>
    </message>
    <message>
        <source>There is no room left in the temporary folder %1 (%2); nothing was saved.</source>
        <translation>Il n&apos;y a plus de place dans le dossier temporaire %1 (%2) ; rien n&apos;a été enregistré.</translation>
    </message>
    <message>
        <source>Cannot write in the temporary folder %1: %2</source>
        <translation>Impossible d&apos;écrire dans le dossier temporaire %1 : %2</translation>
    </message>
    <message>
        <source>A file in the temporary folder %1 was cut short.</source>
        <translation>Un fichier du dossier temporaire %1 a été tronqué.</translation>
    </message>
    <message>
        <source>Cannot read the temporary folder %1: %2</source>
        <translation>Impossible de lire le dossier temporaire %1 : %2</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Not enough memory to read %1 (over %2 bytes)</source>
        <translation>Pas assez de mémoire pour lire %1 (plus de %2 octets)</translation>
    </message>
    <message>
        <source>Not enough memory to read %1 (%2 bytes)</source>
        <translation>Pas assez de mémoire pour lire %1 (%2 octets)</translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Tout effacer</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;quillmark --help&apos;.</source>
        <translation>Essayez &apos;quillmark --help&apos;.</translation>
    </message>
    <message>
        <source>no display to open the window on (DISPLAY is not set).</source>
        <translation>aucun affichage où ouvrir la fenêtre (DISPLAY n&apos;est pas défini).</translation>
    </message>
    <message>
        <source>a file name is not valid UTF-8 (%1)</source>
        <translation>un nom de fichier n&apos;est pas de l&apos;UTF-8 valide (%1)</translation>
    </message>
    <message>
        <source>only the first two files are opened; %1 more ignored.</source>
        <translation>seuls les deux premiers fichiers sont ouverts ; %1 de plus ignorés.</translation>
    </message>
</context>
</TS>
