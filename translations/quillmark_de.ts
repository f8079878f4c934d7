<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ChangedRows</name>
    <message>
        <source>field %1</source>
        <translation>Feld %1</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keines)</translation>
    </message>
    <message>
        <source>(empty)</source>
        <translation>(leer)</translation>
    </message>
</context>
<context>
    <name>ClipboardText</name>
    <message>
        <source>The list was closed while it was being copied</source>
        <translation>Die Liste wurde geschlossen, während sie kopiert wurde</translation>
    </message>
    <message>
        <source>Copying to the clipboard...</source>
        <translation>In die Zwischenablage kopieren...</translation>
    </message>
    <message>
        <source>The clipboard could not be opened: another program kept it busy for %1 attempts</source>
        <translation>Die Zwischenablage ließ sich nicht öffnen: ein anderes Programm hielt sie %1 Versuche lang belegt</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option &apos;%1&apos;</source>
        <translation>unbekannte Option „%1“</translation>
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
Optionen von Qt selbst, gelesen bevor sich das Fenster öffnet:
  -platform NAME     das Fenstersystem: xcb, wayland oder offscreen
  -display DISPLAY   die X-Anzeige, auf der sich das Fenster öffnet
  -style NAME        das Aussehen der Bedienelemente, etwa Fusion
  -reverse           das Fenster von rechts nach links anordnen
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
        <translation>Aufruf: quillmark [DATEI1 [DATEI2]]
Vergleicht zwei Textdateien Zeile für Zeile in einem Fenster: die Zeilen in beiden,
die Zeilen nur in DATEI1 und die Zeilen nur in DATEI2.

  DATEI1, DATEI2 füllen die Felder „Textdatei Nr. 1“ und „Textdatei Nr. 2“; ein
                 nicht angegebenes Feld behält den Pfad des letzten Laufs
  -h, --help     diese Hilfe zeigen und beenden
  --help-all     sie mit den Optionen von Qt (-platform, -style) zeigen und beenden
  -v, --version  die Version zeigen und beenden

Gemerkte Pfade:   %1
Programmdateien:  %2
quillmark-compare erstellt dieselben drei Listen für Skripte.
</translation>
    </message>
</context>
<context>
    <name>CommonDialog</name>
    <message>
        <source>plain text document</source>
        <translation>Textdokument</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists.
Do you want to replace it?</source>
        <translation>„%1“ ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
</context>
<context>
    <name>Companion</name>
    <message>
        <source>- (standard output)</source>
        <translation>- (Standardausgabe)</translation>
    </message>
    <message>
        <source>- (standard input)</source>
        <translation>- (Standardeingabe)</translation>
    </message>
    <message>
        <source>%1 and %2 are the same file: one list would be lost</source>
        <translation>%1 und %2 sind dieselbe Datei: eine Liste ginge verloren</translation>
    </message>
    <message>
        <source>%1 would overwrite %2</source>
        <translation>%1 würde %2 überschreiben</translation>
    </message>
    <message>
        <source>%1 and %2 are the same stream, which can be read only once</source>
        <translation>%1 und %2 sind derselbe Datenstrom, der sich nur einmal lesen lässt</translation>
    </message>
    <message>
        <source>%1 changed while it was compared, so no list was saved.</source>
        <translation>%1 hat sich während des Vergleichs geändert, daher wurde keine Liste gespeichert.</translation>
    </message>
    <message>
        <source>%1 changed while its lists were written.</source>
        <translation>%1 hat sich geändert, während seine Listen geschrieben wurden.</translation>
    </message>
    <message>
        <source>the first lines differ; fields are named as in %1 (%2), not as in %3 (%4)</source>
        <translation>die ersten Zeilen unterscheiden sich; die Felder heißen wie in %1 (%2), nicht wie in %3 (%4)</translation>
    </message>
    <message>
        <source>Not enough memory to compare %1 and %2.</source>
        <translation>Nicht genug Speicher, um %1 und %2 zu vergleichen.</translation>
    </message>
    <message>
        <source>Cannot compare %1 and %2: %3</source>
        <translation>%1 und %2 lassen sich nicht vergleichen: %3</translation>
    </message>
    <message>
        <source>%1 needs %2, not %3</source>
        <translation>%1 braucht %2, nicht %3</translation>
    </message>
    <message>
        <source>field numbers from 1 up or names</source>
        <translation>Feldnummern ab 1 oder Namen</translation>
    </message>
    <message>
        <source>a number from 1 up</source>
        <translation>eine Zahl ab 1</translation>
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
        <translation>Vergleicht zwei Textdateien Zeile für Zeile, wie „Vergleich starten“ in Quillmark.
Listet die Zeilen von FILE1, die auch FILE2 enthält, die Zeilen von FILE1, die
nicht in FILE2 sind, und die Zeilen von FILE2, die nicht in FILE1 sind, jeweils
in der Reihenfolge der Datei und mit Wiederholungen.
Groß- und Kleinschreibung zählt nur mit --match-case. Mit --ignore-blanks zählen
Leerzeichen und Tabulatoren an den Zeilenenden nicht; mit --each-once steht eine
Zeile nur an ihrer ersten Stelle in der Liste. Eine Schlüsseloption vergleicht
einen Teil jeder Zeile; die Listen enthalten ganze Zeilen. Jede verlangte Liste
wird als Textdatei geschrieben, eine Zeile je Eintrag, beendet mit CR LF (LF mit
--lf, NUL mit -z); PATH &apos;-&apos; ist die Standardausgabe.
FILE1 oder FILE2 &apos;-&apos; ist die Standardeingabe; Pipes und FIFOs werden bis zu
ihrem Ende gelesen. Ohne Ausgabeoption werden die Größen der Listen ausgegeben.
Mit einem Schlüssel (--field oder --key-pattern) ist eine Zeile von FILE1, deren
Schlüssel FILE2 enthält, unverändert, wenn FILE2 eine Zeile mit diesem Schlüssel
und denselben übrigen Feldern hat, sonst geändert; jede geänderte Zeile wird der
ersten Zeile von FILE2 mit ihrem Schlüssel zugeordnet, die keiner Zeile von FILE1
gleicht, sonst der ersten Zeile mit ihrem Schlüssel.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>Compare with regard to letter case.</source>
        <translation>Groß- und Kleinschreibung beachten.</translation>
    </message>
    <message>
        <source>Compare lines without the blanks and tabs at their ends.</source>
        <translation>Zeilen ohne die Leerzeichen und Tabulatoren an ihren Enden vergleichen.</translation>
    </message>
    <message>
        <source>List each line only at its first place; leave out its repeats.</source>
        <translation>Jede Zeile nur an ihrer ersten Stelle listen; Wiederholungen weglassen.</translation>
    </message>
    <message>
        <source>Compare only field N of each line, counted from 1; &apos;N,M&apos; compares several fields together. With --header, fields may be named.</source>
        <translation>Nur Feld N jeder Zeile vergleichen, ab 1 gezählt; &apos;N,M&apos; vergleicht mehrere Felder zusammen. Mit --header dürfen Felder benannt werden.</translation>
    </message>
    <message>
        <source>The first line of each file names the fields; it is neither compared nor listed.</source>
        <translation>Die erste Zeile jeder Datei benennt die Felder; sie wird weder verglichen noch gelistet.</translation>
    </message>
    <message>
        <source>With --field, differences in these fields (numbers, or names with --header) do not make a line changed.</source>
        <translation>Mit --field machen Unterschiede in diesen Feldern (Nummern, oder Namen mit --header) eine Zeile nicht zu einer geänderten.</translation>
    </message>
    <message>
        <source>Fields are separated by D: one character, &apos;tab&apos;, or &apos;space&apos; (runs of blanks and tabs). Default &apos;,&apos;; &apos;,&apos; and &apos;;&apos; allow quoted fields.</source>
        <translation>Felder werden durch D getrennt: ein Zeichen, &apos;tab&apos; oder &apos;space&apos; (Folgen von Leerzeichen und Tabulatoren). Vorgabe &apos;,&apos;; &apos;,&apos; und &apos;;&apos; erlauben Felder in Anführungszeichen.</translation>
    </message>
    <message>
        <source>Compare only what the regular expression RE matches (its first group, if it has one); a line it does not match is compared whole.</source>
        <translation>Nur vergleichen, was der reguläre Ausdruck RE trifft (seine erste Gruppe, falls vorhanden); eine Zeile, die er nicht trifft, wird ganz verglichen.</translation>
    </message>
    <message>
        <source>Lines that look alike compare equal (Unicode forms, spaces, zero-width characters, Windows-1252 bytes).</source>
        <translation>Gleich aussehende Zeilen gelten als gleich (Unicode-Formen, Leerzeichen, Zeichen ohne Breite, Windows-1252-Bytes).</translation>
    </message>
    <message>
        <source>Leave lines whose compared part is empty out of every list and count.</source>
        <translation>Zeilen, deren verglichener Teil leer ist, aus allen Listen und Zählungen weglassen.</translation>
    </message>
    <message>
        <source>Print the counts, and the distinct lines, as one JSON object.</source>
        <translation>Die Zählungen und die verschiedenen Zeilen als ein JSON-Objekt ausgeben.</translation>
    </message>
    <message>
        <source>Exit 0 when no line is only in one file or changed, 1 when some line is, 2 on trouble.</source>
        <translation>Mit 0 enden, wenn keine Zeile nur in einer Datei oder geändert ist, mit 1, wenn eine es ist, mit 2 bei Problemen.</translation>
    </message>
    <message>
        <source>End the lines of the lists with LF, not CR LF.</source>
        <translation>Die Zeilen der Listen mit LF beenden, nicht mit CR LF.</translation>
    </message>
    <message>
        <source>Lines are ended by NUL, not by line feeds, in the files and in the lists.</source>
        <translation>Zeilen enden mit NUL statt mit Zeilenvorschüben, in den Dateien und in den Listen.</translation>
    </message>
    <message>
        <source>Use about SIZE of memory (512M, 4G); files that would need more are compared from disk. Default: half the memory available.</source>
        <translation>Etwa SIZE Speicher nutzen (512M, 4G); Dateien, die mehr bräuchten, werden von der Festplatte verglichen. Vorgabe: die Hälfte des verfügbaren Speichers.</translation>
    </message>
    <message>
        <source>Keep the files of a comparison from disk in a private folder in DIR (default $TMPDIR, else /tmp).</source>
        <translation>Die Dateien eines Vergleichs von der Festplatte in einem privaten Ordner in DIR ablegen (Vorgabe $TMPDIR, sonst /tmp).</translation>
    </message>
    <message>
        <source>The first file.</source>
        <translation>Die erste Datei.</translation>
    </message>
    <message>
        <source>The second file.</source>
        <translation>Die zweite Datei.</translation>
    </message>
    <message>
        <source>an argument is not valid UTF-8 (%1)</source>
        <translation>ein Argument ist kein gültiges UTF-8 (%1)</translation>
    </message>
    <message>
        <source>expected two files, FILE1 and FILE2, got %1</source>
        <translation>zwei Dateien erwartet, FILE1 und FILE2, erhalten: %1</translation>
    </message>
    <message>
        <source>--%1 is given more than once</source>
        <translation>--%1 ist mehr als einmal angegeben</translation>
    </message>
    <message>
        <source>--%1 needs a PATH; an empty one names no file</source>
        <translation>--%1 braucht einen PATH; ein leerer benennt keine Datei</translation>
    </message>
    <message>
        <source>--summary and --%1 %2 would both write to standard output</source>
        <translation>--summary und --%1 %2 würden beide auf die Standardausgabe schreiben</translation>
    </message>
    <message>
        <source>--lf and -z (--zero-terminated) ask for two different line ends</source>
        <translation>--lf und -z (--zero-terminated) verlangen zwei verschiedene Zeilenenden</translation>
    </message>
    <message>
        <source>--ignore-fields needs --field</source>
        <translation>--ignore-fields braucht --field</translation>
    </message>
    <message>
        <source>--delimiter needs --field</source>
        <translation>--delimiter braucht --field</translation>
    </message>
    <message>
        <source>--delimiter needs one character, &apos;tab&apos; or &apos;space&apos;, not %1</source>
        <translation>--delimiter braucht ein Zeichen, &apos;tab&apos; oder &apos;space&apos;, nicht %1</translation>
    </message>
    <message>
        <source>--key-pattern needs a pattern</source>
        <translation>--key-pattern braucht ein Muster</translation>
    </message>
    <message>
        <source>Field %1 is part of the key and cannot be ignored.</source>
        <translation>Feld %1 gehört zum Schlüssel und kann nicht ignoriert werden.</translation>
    </message>
    <message>
        <source>--%1 needs a key: --field or --key-pattern</source>
        <translation>--%1 braucht einen Schlüssel: --field oder --key-pattern</translation>
    </message>
    <message>
        <source>--memory needs a size of at least 1M, such as 512M or 4G, not %1</source>
        <translation>--memory braucht eine Größe von mindestens 1M, etwa 512M oder 4G, nicht %1</translation>
    </message>
    <message>
        <source>--temp-dir needs a folder</source>
        <translation>--temp-dir braucht einen Ordner</translation>
    </message>
    <message>
        <source>Write the lists to PATH as CSV: list,line,text (with a key, and the partner of a changed line).</source>
        <translation>Die Listen als CSV nach PATH schreiben: list,line,text (mit einem Schlüssel auch den Partner einer geänderten Zeile).</translation>
    </message>
    <message>
        <source>With a key, write each changed line and its partner to PATH as CSV: line_1,line_2,fields,text_1,text_2.</source>
        <translation>Mit einem Schlüssel jede geänderte Zeile und ihren Partner als CSV nach PATH schreiben: line_1,line_2,fields,text_1,text_2.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>a file&apos;s name and why it cannot be used</comment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>standard input</source>
        <translation>Standardeingabe</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>Standardausgabe</translation>
    </message>
    <message>
        <source>the key pattern gave up on 1 line (its match limit); it was compared whole</source>
        <translation>das Schlüsselmuster hat bei 1 Zeile aufgegeben (seine Suchgrenze); sie wurde ganz verglichen</translation>
    </message>
    <message>
        <source>the key pattern gave up on %1 lines (its match limit); they were compared whole</source>
        <translation>das Schlüsselmuster hat bei %1 Zeilen aufgegeben (seine Suchgrenze); sie wurden ganz verglichen</translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos;</source>
        <translation>unbekannte Option „%1“</translation>
    </message>
    <message>
        <source>option &apos;--%1&apos; is ambiguous; possibilities: %2</source>
        <translation>Option „--%1“ ist mehrdeutig; Möglichkeiten: %2</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; doesn&apos;t allow an argument</source>
        <translation>Option „%1“ erlaubt kein Argument</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; requires an argument</source>
        <translation>Option „%1“ erfordert ein Argument</translation>
    </message>
    <message>
        <source>invalid option -- &apos;%1&apos;</source>
        <translation>ungültige Option -- „%1“</translation>
    </message>
    <message>
        <source>option requires an argument -- &apos;%1&apos;</source>
        <translation>Option erfordert ein Argument -- „%1“</translation>
    </message>
    <message>
        <source>Report problems to &lt;%1&gt;.</source>
        <translation>Probleme bitte an &lt;%1&gt; melden.</translation>
    </message>
    <message>
        <source>Quillmark home page: &lt;%1&gt;</source>
        <translation>Quillmark-Homepage: &lt;%1&gt;</translation>
    </message>
    <message>
        <source>Copyright (C) %1 Harrowmere</source>
        <translation>Copyright (C) %1 Harrowmere</translation>
    </message>
    <message>
        <source>License: Harrowmere-proprietary. All rights reserved.</source>
        <translation>Lizenz: Harrowmere-proprietary. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>For the terms under which this program may be used or passed on,
ask Harrowmere at %1.</source>
        <translation>Die Bedingungen, unter denen dieses Programm benutzt oder weitergegeben werden darf,
erfahren Sie bei Harrowmere unter %1.</translation>
    </message>
    <message>
        <source>only one list can go to standard output</source>
        <translation>nur eine Liste kann auf die Standardausgabe gehen</translation>
    </message>
    <message>
        <source>Write to PATH the lines only in one file that look like a line only in the other: LINE1&lt;TAB&gt;LINE2&lt;TAB&gt;what differs, at most 10 a line, then LINE1&lt;TAB&gt;&lt;TAB&gt;and N more like it.</source>
        <translation>Die Zeilen nur einer Datei, die einer Zeile nur der anderen gleichen, nach PATH schreiben: LINE1&lt;TAB&gt;LINE2&lt;TAB&gt;was sich unterscheidet, höchstens 10 je Zeile, dann LINE1&lt;TAB&gt;&lt;TAB&gt;and N more like it.</translation>
    </message>
    <message>
        <source>Try &apos;quillmark-compare --help&apos; for more information.</source>
        <translation>Weitere Informationen mit &apos;quillmark-compare --help&apos;.</translation>
    </message>
    <message>
        <source>standard output: %1</source>
        <translation>Standardausgabe: %1</translation>
    </message>
</context>
<context>
    <name>CompareEngine</name>
    <message>
        <source>&quot;%1&quot; has more than 2,147,483,647 lines</source>
        <translation>„%1“ hat mehr als 2.147.483.647 Zeilen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; and &quot;%2&quot; have too many lines to compare at once (3,000,000,000 together at most)</source>
        <translation>„%1“ und „%2“ haben zu viele Zeilen für einen Vergleich (höchstens 3.000.000.000 zusammen)</translation>
    </message>
</context>
<context>
    <name>CompareMessages</name>
    <message>
        <source>You forgot to input file #1.</source>
        <translation>Sie haben vergessen, Datei Nr. 1 anzugeben.</translation>
    </message>
    <message>
        <source>You forgot to input file #2.</source>
        <translation>Sie haben vergessen, Datei Nr. 2 anzugeben.</translation>
    </message>
    <message>
        <source>File #1 not found.</source>
        <translation>Datei Nr. 1 nicht gefunden.</translation>
    </message>
    <message>
        <source>File #2 not found.</source>
        <translation>Datei Nr. 2 nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>CompareOptions</name>
    <message>
        <source>The key field must be a number from 1 up.</source>
        <translation>Das Schlüsselfeld muss eine Zahl ab 1 sein.</translation>
    </message>
    <message>
        <source>Further key fields need a first key field.</source>
        <translation>Weitere Schlüsselfelder brauchen ein erstes Schlüsselfeld.</translation>
    </message>
    <message>
        <source>The key fields are given twice.</source>
        <translation>Die Schlüsselfelder sind doppelt angegeben.</translation>
    </message>
    <message>
        <source>Fields can be named only when the first line names them.</source>
        <translation>Felder lassen sich nur benennen, wenn die erste Zeile sie benennt.</translation>
    </message>
    <message>
        <source>Ignored fields need a key field.</source>
        <translation>Ignorierte Felder brauchen ein Schlüsselfeld.</translation>
    </message>
    <message>
        <source>Field %1 is part of the key and cannot be ignored.</source>
        <translation>Feld %1 gehört zum Schlüssel und kann nicht ignoriert werden.</translation>
    </message>
    <message>
        <source>The field delimiter must be one character, tab or space.</source>
        <translation>Das Trennzeichen muss ein Zeichen, Tab oder Leerzeichen sein.</translation>
    </message>
    <message>
        <source>A key field and a key pattern cannot be used together.</source>
        <translation>Schlüsselfeld und Schlüsselmuster lassen sich nicht zusammen verwenden.</translation>
    </message>
    <message>
        <source>The key pattern &quot;%1&quot; does not compile: %2 (at character %3).</source>
        <translation>Das Schlüsselmuster „%1“ ist ungültig: %2 (bei Zeichen %3).</translation>
    </message>
    <message>
        <source>No field is named &quot;%1&quot; in the first line of file 1.</source>
        <translation>Kein Feld heißt „%1“ in der ersten Zeile von Datei 1.</translation>
    </message>
</context>
<context>
    <name>DiskComparison</name>
    <message>
        <source>A file in the temporary folder %1 does not hold what was written to it.</source>
        <translation>Eine Datei im temporären Ordner %1 enthält nicht, was in sie geschrieben wurde.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has more than 2,147,483,647 lines</source>
        <translation>„%1“ hat mehr als 2.147.483.647 Zeilen</translation>
    </message>
    <message>
        <source>The temporary folder %1 has %2 MB free; comparing these files from disk takes about %3 MB.</source>
        <translation>Der temporäre Ordner %1 hat %2 MB frei; diese Dateien von der Festplatte zu vergleichen braucht etwa %3 MB.</translation>
    </message>
</context>
<context>
    <name>ErrorTrap</name>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genug Speicher</translation>
    </message>
    <message>
        <source>Unexpected error</source>
        <translation>Unerwarteter Fehler</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Bitte senden Sie ein Bildschirmfoto dieser Meldung an %1</translation>
    </message>
    <message>
        <source>in %1 </source>
        <translation>in %1 </translation>
    </message>
    <message>
        <source>%1at line %2</source>
        <translation>%1in Zeile %2</translation>
    </message>
    <message>
        <source>Application Error</source>
        <translation>Anwendungsfehler</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Cannot create %1: %2</source>
        <translation>%1 lässt sich nicht anlegen: %2</translation>
    </message>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation>Der Ordner %1 lässt sich nicht anlegen: %2</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>%1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>Cannot open the folder %1: %2</source>
        <translation>Der Ordner %1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 lässt sich nicht lesen: %2</translation>
    </message>
    <message>
        <source>Cannot restrict the folder %1: %2</source>
        <translation>Der Zugriff auf den Ordner %1 lässt sich nicht einschränken: %2</translation>
    </message>
    <message>
        <source>Cannot use the folder %1: %2</source>
        <translation>Der Ordner %1 lässt sich nicht verwenden: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 lässt sich nicht schreiben: %2</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is a FIFO</source>
        <translation>es ist ein FIFO</translation>
    </message>
    <message>
        <source>it is a socket</source>
        <translation>es ist ein Socket</translation>
    </message>
    <message>
        <source>it is a device</source>
        <translation>es ist ein Gerät</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>Cannot read %1: it is too large (over %2 bytes)</source>
        <translation>%1 lässt sich nicht lesen: die Datei ist zu groß (über %2 Bytes)</translation>
    </message>
    <message>
        <source>Cannot read %1: not enough memory</source>
        <translation>%1 lässt sich nicht lesen: nicht genug Speicher</translation>
    </message>
    <message>
        <source>Cannot write a file without a name</source>
        <translation>Eine Datei ohne Namen lässt sich nicht schreiben</translation>
    </message>
    <message>
        <source>it is a FIFO that no program reads</source>
        <translation>es ist ein FIFO, den kein Programm liest</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source> (the file now holds part of the new text)</source>
        <translation> (die Datei enthält jetzt einen Teil des neuen Textes)</translation>
    </message>
    <message>
        <source>the save was stopped by a signal</source>
        <translation>das Speichern wurde durch ein Signal abgebrochen</translation>
    </message>
    <message>
        <source>other users may change it</source>
        <translation>andere Benutzer können ihn ändern</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>es ist ein symbolischer Link</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>er gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>There is no cache folder to keep the pasted text in.</source>
        <translation>Es gibt keinen Cache-Ordner für den eingefügten Text.</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Vorheriger Treffer (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation>Nächster Treffer (F3)</translation>
    </message>
    <message>
        <source>Close (Esc)</source>
        <translation>Schließen (Esc)</translation>
    </message>
    <message>
        <source>Find in this list</source>
        <translation>In dieser Liste suchen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>Suche läuft…</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1 found</source>
        <translation>%1 gefunden</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message numerus="yes">
        <source>%1, %Ln checked</source>
        <translation>
            <numerusform>%1, %Ln markiert</numerusform>
            <numerusform>%1, %Ln markiert</numerusform>
        </translation>
    </message>
    <message>
        <source>1 line</source>
        <translation>1 Zeile</translation>
    </message>
    <message numerus="yes">
        <source>%Ln lines</source>
        <translation>
            <numerusform>%Ln Zeile</numerusform>
            <numerusform>%Ln Zeilen</numerusform>
        </translation>
    </message>
    <message>
        <source>Compares two text files line by line into three lists</source>
        <translation>Vergleicht zwei Textdateien Zeile für Zeile in drei Listen</translation>
    </message>
    <message>
        <source>Tells where to send questions</source>
        <translation>Sagt, wohin Sie Fragen senden können</translation>
    </message>
    <message>
        <source>Fills both path fields with the sample files and offers to open their folder</source>
        <translation>Füllt beide Pfadfelder mit den Beispieldateien und bietet an, ihren Ordner zu öffnen</translation>
    </message>
    <message>
        <source>The path of the first file to compare</source>
        <translation>Der Pfad der ersten zu vergleichenden Datei</translation>
    </message>
    <message>
        <source>Picks the first file with an open-file dialog</source>
        <translation>Wählt die erste Datei mit einem Dateidialog</translation>
    </message>
    <message>
        <source>The path of the second file to compare</source>
        <translation>Der Pfad der zweiten zu vergleichenden Datei</translation>
    </message>
    <message>
        <source>Picks the second file with an open-file dialog</source>
        <translation>Wählt die zweite Datei mit einem Dateidialog</translation>
    </message>
    <message>
        <source>Browse for %1</source>
        <translation>Durchsuchen: %1</translation>
    </message>
    <message>
        <source>Uses the text on the clipboard as the first file</source>
        <translation>Verwendet den Text der Zwischenablage als erste Datei</translation>
    </message>
    <message>
        <source>Uses the text on the clipboard as the second file</source>
        <translation>Verwendet den Text der Zwischenablage als zweite Datei</translation>
    </message>
    <message>
        <source>Paste as %1</source>
        <translation>Einfügen als %1</translation>
    </message>
    <message>
        <source>Keeps the text on the clipboard as a file of its own and puts its path in the first field</source>
        <translation>Legt den Text der Zwischenablage als eigene Datei ab und setzt ihren Pfad in das erste Feld</translation>
    </message>
    <message>
        <source>Keeps the text on the clipboard as a file of its own and puts its path in the second field</source>
        <translation>Legt den Text der Zwischenablage als eigene Datei ab und setzt ihren Pfad in das zweite Feld</translation>
    </message>
    <message>
        <source>When checked, lines that differ only in letter case are different</source>
        <translation>Wenn markiert, sind Zeilen, die sich nur in Groß- und Kleinschreibung unterscheiden, verschieden</translation>
    </message>
    <message>
        <source>More Options</source>
        <translation>Weitere Optionen</translation>
    </message>
    <message>
        <source>Opens or closes the options of the compared fields, the field names, the ignored fields, the key pattern, look-alike lines and empty lines</source>
        <translation>Öffnet oder schließt die Optionen für verglichene Felder, Feldnamen, ignorierte Felder, Schlüsselmuster, ähnliche Zeilen und leere Zeilen</translation>
    </message>
    <message>
        <source>Compare Field</source>
        <translation>Vergleichsfeld</translation>
    </message>
    <message>
        <source>The fields of each line that are compared, counted from 1 and separated by commas, or their names when the first line names them; empty compares the whole line</source>
        <translation>Die verglichenen Felder jeder Zeile, ab 1 gezählt und durch Kommas getrennt, oder ihre Namen, wenn die erste Zeile sie benennt; leer vergleicht die ganze Zeile</translation>
    </message>
    <message>
        <source>First line names the fields</source>
        <translation>Erste Zeile nennt die Felder</translation>
    </message>
    <message>
        <source>Ignore fields</source>
        <translation>Ignorieren</translation>
    </message>
    <message>
        <source>Delimiter</source>
        <translation>Trennzeichen</translation>
    </message>
    <message>
        <source>What separates the fields: one character, Tab, or Space for runs of blanks and tabs</source>
        <translation>Was die Felder trennt: ein Zeichen, Tab oder Space für Folgen von Leerzeichen und Tabulatoren</translation>
    </message>
    <message>
        <source>Key Pattern</source>
        <translation>Schlüsselmuster</translation>
    </message>
    <message>
        <source>A regular expression whose first group, or whole match, is compared; a line it does not match is compared whole</source>
        <translation>Ein regulärer Ausdruck, dessen erste Gruppe oder ganzer Treffer verglichen wird; eine Zeile, die er nicht trifft, wird ganz verglichen</translation>
    </message>
    <message>
        <source>Look-Alike Lines Match</source>
        <translation>Ähnliche Zeilen gleich</translation>
    </message>
    <message>
        <source>Skip Empty Lines</source>
        <translation>Leerzeilen weglassen</translation>
    </message>
    <message>
        <source>Compares the two files and fills the three lists</source>
        <translation>Vergleicht die beiden Dateien und füllt die drei Listen</translation>
    </message>
    <message>
        <source>Empties all three lists</source>
        <translation>Leert alle drei Listen</translation>
    </message>
    <message>
        <source>Saves the list &quot;%1&quot; as a text file</source>
        <translation>Speichert die Liste „%1“ als Textdatei</translation>
    </message>
    <message>
        <source>Copies the checked lines of &quot;%1&quot; to the clipboard</source>
        <translation>Kopiert die markierten Zeilen von „%1“ in die Zwischenablage</translation>
    </message>
    <message>
        <source>Vertical scroll bar of %1</source>
        <translation>Vertikale Bildlaufleiste von %1</translation>
    </message>
    <message>
        <source>Horizontal scroll bar of %1</source>
        <translation>Horizontale Bildlaufleiste von %1</translation>
    </message>
    <message>
        <source>Reading the files...</source>
        <translation>Dateien werden gelesen...</translation>
    </message>
    <message>
        <source>Reading &quot;%1&quot;...</source>
        <translation>„%1“ wird gelesen...</translation>
    </message>
    <message>
        <source>Comparing the lines...</source>
        <translation>Zeilen werden verglichen...</translation>
    </message>
    <message>
        <source>Making the lists...</source>
        <translation>Listen werden erstellt...</translation>
    </message>
    <message>
        <source>Finding look-alike lines...</source>
        <translation>Ähnliche Zeilen werden gesucht...</translation>
    </message>
    <message>
        <source>Splitting file %1 ... %2 %</source>
        <translation>Datei %1 wird aufgeteilt ... %2 %</translation>
    </message>
    <message>
        <source>Comparing part %1 of %2</source>
        <translation>Teil %1 von %2 wird verglichen</translation>
    </message>
    <message>
        <source>Writing the lists...</source>
        <translation>Listen werden geschrieben...</translation>
    </message>
    <message>
        <source>Recent Files</source>
        <translation>Zuletzt verwendet</translation>
    </message>
    <message>
        <source>Recent files (Alt+Down)</source>
        <translation>Zuletzt verwendete Dateien (Alt+Ab)</translation>
    </message>
    <message>
        <source>Load List(s) - Hold Ctrl to select multiple list files</source>
        <translation>Liste(n) laden - Strg halten, um mehrere Listendateien zu wählen</translation>
    </message>
    <message>
        <source>Text Files (*.txt)|*.txt|All Files (*.*)|*.*|</source>
        <translation>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Please select one or two files: the first goes into this field, the second into the other one.</source>
        <translation>Bitte wählen Sie eine oder zwei Dateien: die erste kommt in dieses Feld, die zweite in das andere.</translation>
    </message>
    <message>
        <source>The clipboard holds no text to paste. Copy the lines to compare, then click Paste again.</source>
        <translation>Die Zwischenablage enthält keinen Text zum Einfügen. Kopieren Sie die zu vergleichenden Zeilen und klicken Sie dann erneut auf Einfügen.</translation>
    </message>
    <message>
        <source>Questions? Please contact Team Harrowmere at %1</source>
        <translation>Fragen? Wenden Sie sich bitte an das Team Harrowmere unter %1</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Soll dieses Programm den Ordner mit den Beispieldateien öffnen (damit Sie sie vor der Arbeit ansehen können)?</translation>
    </message>
    <message>
        <source>Scroll the window</source>
        <translation>Fenster rollen</translation>
    </message>
    <message>
        <source>Why is this line not in File #%1?</source>
        <translation>Warum ist diese Zeile nicht in Datei Nr. %1?</translation>
    </message>
    <message>
        <source>Results have been copied to the clipboard.</source>
        <translation>Die Ergebnisse wurden in die Zwischenablage kopiert.</translation>
    </message>
    <message>
        <source>Click a text area where you normally type and press Ctrl+V to paste the clipboard.</source>
        <translation>Klicken Sie in ein Textfeld, in das Sie sonst schreiben, und drücken Sie Strg+V, um die Zwischenablage einzufügen.</translation>
    </message>
    <message>
        <source>Save All Lists As CSV...</source>
        <translation>Alle Listen als CSV speichern...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Text Files(*.txt)|*.txt|All Files (*.*)|*.*|</source>
        <translation>Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Save All Lists As CSV</source>
        <translation>Alle Listen als CSV speichern</translation>
    </message>
    <message>
        <source>CSV Files(*.csv)|*.csv|All Files (*.*)|*.*|</source>
        <translation>CSV-Dateien (*.csv)|*.csv|Alle Dateien (*.*)|*.*|</translation>
    </message>
    <message>
        <source>Saving &quot;%1&quot;...</source>
        <translation>„%1“ wird gespeichert...</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Text File #1</source>
        <translation>Textdatei Nr. 1</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einf.</translation>
    </message>
    <message>
        <source>Compare Options</source>
        <translation>Vergleichsoptionen</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>Groß/klein</translation>
    </message>
    <message>
        <source>Ignore Blanks At Line Ends</source>
        <translation>Leerraum am Rand ignorieren</translation>
    </message>
    <message>
        <source>List Each Line Once</source>
        <translation>Jede Zeile nur einmal</translation>
    </message>
    <message>
        <source>Blanks and tabs at the start and end of a line do not count when lines are compared</source>
        <translation>Leerzeichen und Tabulatoren am Anfang und Ende einer Zeile zählen beim Vergleich nicht</translation>
    </message>
    <message>
        <source>Each list holds a line only at its first place; later repeats are left out</source>
        <translation>Jede Liste enthält eine Zeile nur an ihrer ersten Stelle; spätere Wiederholungen fallen weg</translation>
    </message>
    <message>
        <source>Text File #2</source>
        <translation>Textdatei Nr. 2</translation>
    </message>
    <message>
        <source>Start Comparing</source>
        <translation>Vergleich starten</translation>
    </message>
    <message>
        <source>Clear All Results</source>
        <translation>Ergebnisse leeren</translation>
    </message>
    <message>
        <source>Load Sample/Example Files</source>
        <translation>Beispieldateien laden</translation>
    </message>
    <message>
        <source>Compare &amp;Field</source>
        <translation>Vergleichs&amp;feld</translation>
    </message>
    <message>
        <source>Whole line</source>
        <translation>Ganze Zeile</translation>
    </message>
    <message>
        <source>Compares only these fields of each line, counted from 1 (&quot;1,3&quot;), or named in the first line (&quot;id,region&quot;); empty compares the whole line. With a key, lines of file 1 whose key file 2 holds on another line are listed as changed</source>
        <translation>Vergleicht nur diese Felder jeder Zeile, ab 1 gezählt („1,3“) oder in der ersten Zeile benannt („id,region“); leer vergleicht die ganze Zeile. Mit einem Schlüssel werden Zeilen von Datei 1, deren Schlüssel Datei 2 in einer anderen Zeile enthält, als geändert gelistet</translation>
    </message>
    <message>
        <source>&amp;Delimiter</source>
        <translation>&amp;Trennzeichen</translation>
    </message>
    <message>
        <source>What separates the fields: one character; Space splits at runs of blanks and tabs; with &quot;,&quot; or &quot;;&quot; a field in double quotes may hold it</source>
        <translation>Was die Felder trennt: ein Zeichen; Space trennt an Folgen von Leerzeichen und Tabulatoren; bei „,“ oder „;“ darf ein Feld in doppelten Anführungszeichen es enthalten</translation>
    </message>
    <message>
        <source>&amp;Key Pattern</source>
        <translation>&amp;Schlüsselmuster</translation>
    </message>
    <message>
        <source>regular expression; first group is compared</source>
        <translation>regulärer Ausdruck; erste Gruppe wird verglichen</translation>
    </message>
    <message>
        <source>Compares the pattern&apos;s first group, or its whole match when it has no group; a line it does not match is compared whole</source>
        <translation>Vergleicht die erste Gruppe des Musters oder seinen ganzen Treffer, wenn es keine Gruppe hat; eine Zeile, die es nicht trifft, wird ganz verglichen</translation>
    </message>
    <message>
        <source>&amp;Look-Alike Lines Match</source>
        <translation>Ä&amp;hnliche Zeilen gleich</translation>
    </message>
    <message>
        <source>No-break and other Unicode spaces, zero-width characters, NFC/NFD spellings and Windows-1252 bytes count as what they look like</source>
        <translation>Geschützte und andere Unicode-Leerzeichen, Zeichen ohne Breite, NFC/NFD-Schreibweisen und Windows-1252-Bytes zählen als das, wonach sie aussehen</translation>
    </message>
    <message>
        <source>&amp;Skip Empty Lines</source>
        <translation>Leerzeilen weg&amp;lassen</translation>
    </message>
    <message>
        <source>Lines whose compared part is empty are in no list</source>
        <translation>Zeilen, deren verglichener Teil leer ist, stehen in keiner Liste</translation>
    </message>
    <message>
        <source>First line &amp;names the fields</source>
        <translation>Erste Zeile &amp;nennt die Felder</translation>
    </message>
    <message>
        <source>The first line of each file holds the fields&apos; names: it is neither compared nor listed, and fields can be given by name</source>
        <translation>Die erste Zeile jeder Datei enthält die Feldnamen: sie wird weder verglichen noch gelistet, und Felder lassen sich mit Namen angeben</translation>
    </message>
    <message>
        <source>I&amp;gnore fields</source>
        <translation>I&amp;gnorieren</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>Fields whose differences do not make a line changed (&quot;4,5&quot;, or names with the first line naming the fields); never a field of the key</source>
        <translation>Felder, deren Unterschiede eine Zeile nicht zu einer geänderten machen („4,5“, oder Namen, wenn die erste Zeile die Felder nennt); nie ein Feld des Schlüssels</translation>
    </message>
    <message>
        <source>&amp;More Options (set)</source>
        <translation>&amp;Weitere Optionen (gesetzt)</translation>
    </message>
    <message>
        <source>&amp;More Options</source>
        <translation>&amp;Weitere Optionen</translation>
    </message>
    <message>
        <source>Result(s)</source>
        <translation>Ergebnis(se)</translation>
    </message>
    <message>
        <source>%1. Space checks the selected lines, Delete removes the selected lines, Ctrl+C copies the selected lines, the Menu key opens the menu.</source>
        <translation>%1. Leertaste markiert die ausgewählten Zeilen, Entf entfernt die ausgewählten Zeilen, Strg+C kopiert die ausgewählten Zeilen, die Menütaste öffnet das Menü.</translation>
    </message>
    <message>
        <source>The key pattern gave up on 1 line (its match limit); it was compared whole.</source>
        <translation>Das Schlüsselmuster hat bei 1 Zeile aufgegeben (seine Suchgrenze); sie wurde ganz verglichen.</translation>
    </message>
    <message>
        <source>The key pattern gave up on %1 lines (its match limit); they were compared whole.</source>
        <translation>Das Schlüsselmuster hat bei %1 Zeilen aufgegeben (seine Suchgrenze); sie wurden ganz verglichen.</translation>
    </message>
    <message>
        <source>How to Read the Lists</source>
        <translation>So lesen Sie die Listen</translation>
    </message>
</context>
<context>
    <name>HelpPage</name>
    <message>
        <source>an empty line</source>
        <translation>eine leere Zeile</translation>
    </message>
    <message>
        <source>File #1</source>
        <translation>Datei Nr. 1</translation>
    </message>
    <message>
        <source>File #2</source>
        <translation>Datei Nr. 2</translation>
    </message>
    <message>
        <source>How to Read the Lists</source>
        <translation>So lesen Sie die Listen</translation>
    </message>
    <message>
        <source>The marks in a list</source>
        <translation>Die Markierungen in einer Liste</translation>
    </message>
    <message>
        <source>A row marks what its text would not show, so that lines that look alike on the screen do not look alike in the list. The marks are only drawn: copying and saving give the lines as they are.</source>
        <translation>Eine Zeile markiert, was ihr Text nicht zeigen würde, damit Zeilen, die auf dem Bildschirm gleich aussehen, in der Liste nicht gleich aussehen. Die Markierungen werden nur gezeichnet: Kopieren und Speichern geben die Zeilen so wieder, wie sie sind.</translation>
    </message>
    <message>
        <source>Blanks at the end of a line: a faint dot for each.</source>
        <translation>Leerzeichen am Zeilenende: je ein blasser Punkt.</translation>
    </message>
    <message>
        <source>A tab at the end of a line: an arrow.</source>
        <translation>Ein Tabulator am Zeilenende: ein Pfeil.</translation>
    </message>
    <message>
        <source>A no-break or other Unicode space: a faint box.</source>
        <translation>Ein geschütztes oder anderes Unicode-Leerzeichen: ein blasses Kästchen.</translation>
    </message>
    <message>
        <source>A character of no width: a thin bar.</source>
        <translation>Ein Zeichen ohne Breite: ein dünner Strich.</translation>
    </message>
    <message>
        <source>A control character: ^ and its letter in a small box.</source>
        <translation>Ein Steuerzeichen: ^ und sein Buchstabe in einem kleinen Kästchen.</translation>
    </message>
    <message>
        <source>A byte that is not UTF-8: its Windows-1252 character, tinted.</source>
        <translation>Ein Byte, das kein UTF-8 ist: sein Windows-1252-Zeichen, getönt.</translation>
    </message>
    <message>
        <source>A letter with its accent written as a separate mark: underlined.</source>
        <translation>Ein Buchstabe, dessen Akzent als eigenes Zeichen geschrieben ist: unterstrichen.</translation>
    </message>
    <message>
        <source>In the list of lines changed in file 2, the fields that changed are outlined, and what file 2 has instead follows an arrow.</source>
        <translation>In der Liste der in Datei 2 geänderten Zeilen sind die geänderten Felder umrandet, und was Datei 2 stattdessen hat, folgt nach einem Pfeil.</translation>
    </message>
    <message>
        <source>The overlap bar</source>
        <translation>Der Überlappungsbalken</translation>
    </message>
    <message>
        <source>Beside Start Comparing once the files are compared: the distinct lines (each counted once, however often it occurs) only in file 1, in both files, and only in file 2, each in the colour of its list, and the share of distinct lines the two files have in common. Here 4 only in file 1, 5 in both, 3 only in file 2: 42 % in common. The counts on the lists&apos; frames count every line. Compared on a key, the bar counts keys and adds those changed. Point at the bar to read its numbers in words.</source>
        <translation>Neben „Vergleich starten“, sobald die Dateien verglichen sind: die verschiedenen Zeilen (jede einmal gezählt, wie oft sie auch vorkommt) nur in Datei 1, in beiden Dateien und nur in Datei 2, jeweils in der Farbe ihrer Liste, und der Anteil der verschiedenen Zeilen, den beide Dateien gemeinsam haben. Hier 4 nur in Datei 1, 5 in beiden, 3 nur in Datei 2: 42 % gemeinsam. Die Zahlen an den Rahmen der Listen zählen jede Zeile. Beim Vergleich über einen Schlüssel zählt der Balken Schlüssel und fügt die geänderten hinzu. Zeigen Sie auf den Balken, um seine Zahlen in Worten zu lesen.</translation>
    </message>
    <message>
        <source>The options</source>
        <translation>Die Optionen</translation>
    </message>
    <message>
        <source>Each option below changes the answer for the two lines beside it. Those under More Options compare lines on a key: a part of each line, with a list of the lines whose key file 2 holds changed.</source>
        <translation>Jede Option unten ändert die Antwort für die beiden Zeilen daneben. Die unter „Weitere Optionen“ vergleichen Zeilen über einen Schlüssel: einen Teil jeder Zeile, mit einer Liste der Zeilen, deren Schlüssel Datei 2 geändert enthält.</translation>
    </message>
    <message>
        <source>Match Case: off, these are the same line; on, they differ.</source>
        <translation>Groß/klein: aus, dies ist dieselbe Zeile; an, sie unterscheiden sich.</translation>
    </message>
    <message>
        <source>Ignore Blanks At Line Ends: on, blanks and tabs at either end of a line do not count, and these are the same line.</source>
        <translation>Leerraum am Rand ignorieren: an, Leerzeichen und Tabulatoren an beiden Enden einer Zeile zählen nicht, und dies ist dieselbe Zeile.</translation>
    </message>
    <message>
        <source>List Each Line Once: on, a line that occurs more than once is listed once, where it first occurs.</source>
        <translation>Jede Zeile nur einmal: an, eine mehrfach vorkommende Zeile wird einmal gelistet, wo sie zuerst vorkommt.</translation>
    </message>
    <message>
        <source>Compare Field 1 with the Delimiter &quot;,&quot;: these lines have the same key, 7, and are listed as changed: the third field differs.</source>
        <translation>Vergleichsfeld 1 mit dem Trennzeichen „,“: diese Zeilen haben denselben Schlüssel, 7, und werden als geändert gelistet: das dritte Feld unterscheidet sich.</translation>
    </message>
    <message>
        <source>First line names the fields: Compare Field and Ignore fields then take names (&quot;id&quot;), and the first line is not compared.</source>
        <translation>Erste Zeile nennt die Felder: „Vergleichsfeld“ und „Ignorieren“ nehmen dann Namen („id“), und die erste Zeile wird nicht verglichen.</translation>
    </message>
    <message>
        <source>Ignore fields 3: a record that differs only there is not changed.</source>
        <translation>Ignorieren 3: ein Datensatz, der sich nur dort unterscheidet, ist nicht geändert.</translation>
    </message>
    <message>
        <source>Key Pattern ORD-\d+: the lines have the same key, what the pattern finds (its first group, if it has one). A line it finds nothing in is compared whole.</source>
        <translation>Schlüsselmuster ORD-\d+: die Zeilen haben denselben Schlüssel, das, was das Muster findet (seine erste Gruppe, falls vorhanden). Eine Zeile, in der es nichts findet, wird ganz verglichen.</translation>
    </message>
    <message>
        <source>Look-Alike Lines Match: on, accents written either way, Unicode spaces and characters of no width do not count, and these are the same line.</source>
        <translation>Ähnliche Zeilen gleich: an, Akzente in beiden Schreibweisen, Unicode-Leerzeichen und Zeichen ohne Breite zählen nicht, und dies ist dieselbe Zeile.</translation>
    </message>
    <message>
        <source>Skip Empty Lines: on, empty lines are left out of every list and count.</source>
        <translation>Leerzeilen weglassen: an, leere Zeilen fehlen in allen Listen und Zählungen.</translation>
    </message>
    <message>
        <source>Questions? The Help button tells where to ask.</source>
        <translation>Fragen? Die Schaltfläche „Hilfe“ sagt, wo Sie fragen können.</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>The desktop cannot open %1</source>
        <translation>Die Arbeitsumgebung kann %1 nicht öffnen</translation>
    </message>
</context>
<context>
    <name>LineMarks</name>
    <message>
        <source>has a byte that is not UTF-8</source>
        <translation>hat ein Byte, das kein UTF-8 ist</translation>
    </message>
    <message>
        <source>has bytes that are not UTF-8</source>
        <translation>hat Bytes, die kein UTF-8 sind</translation>
    </message>
    <message>
        <source>has a control character</source>
        <translation>hat ein Steuerzeichen</translation>
    </message>
    <message>
        <source>has control characters</source>
        <translation>hat Steuerzeichen</translation>
    </message>
    <message>
        <source>has a zero-width character</source>
        <translation>hat ein Zeichen ohne Breite</translation>
    </message>
    <message>
        <source>has zero-width characters</source>
        <translation>hat Zeichen ohne Breite</translation>
    </message>
    <message>
        <source>has a no-break space</source>
        <translation>hat ein geschütztes Leerzeichen</translation>
    </message>
    <message>
        <source>has an unusual space</source>
        <translation>hat ein ungewöhnliches Leerzeichen</translation>
    </message>
    <message>
        <source>has a decomposed accent</source>
        <translation>hat einen zerlegten Akzent</translation>
    </message>
    <message>
        <source>has decomposed accents</source>
        <translation>hat zerlegte Akzente</translation>
    </message>
    <message>
        <source>ends with blanks and tabs</source>
        <translation>endet mit Leerzeichen und Tabulatoren</translation>
    </message>
    <message>
        <source>ends with a blank</source>
        <translation>endet mit einem Leerzeichen</translation>
    </message>
    <message>
        <source>ends with %1 blanks</source>
        <translation>endet mit %1 Leerzeichen</translation>
    </message>
    <message>
        <source>ends with a tab</source>
        <translation>endet mit einem Tabulator</translation>
    </message>
    <message>
        <source>ends with %1 tabs</source>
        <translation>endet mit %1 Tabulatoren</translation>
    </message>
</context>
<context>
    <name>ListCounts</name>
    <message>
        <source>1 line</source>
        <translation>1 Zeile</translation>
    </message>
    <message numerus="yes">
        <source>%Ln lines</source>
        <translation>
            <numerusform>%Ln Zeile</numerusform>
            <numerusform>%Ln Zeilen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln checked</source>
        <translation>
            <numerusform>%Ln markiert</numerusform>
            <numerusform>%Ln markiert</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ListKinds</name>
    <message>
        <source>Lines In Both Text Files</source>
        <translation>Zeilen in beiden Textdateien</translation>
    </message>
    <message>
        <source>Write the lines of FILE1 also in FILE2 to PATH.</source>
        <translation>Die Zeilen von FILE1, die auch in FILE2 sind, nach PATH schreiben.</translation>
    </message>
    <message>
        <source>Lines In File 1 That Are Not In File 2</source>
        <translation>Zeilen in Datei 1, die nicht in Datei 2 sind</translation>
    </message>
    <message>
        <source>Write the lines of FILE1 not in FILE2 to PATH.</source>
        <translation>Die Zeilen von FILE1, die nicht in FILE2 sind, nach PATH schreiben.</translation>
    </message>
    <message>
        <source>Lines In File 2 That Are Not In File 1</source>
        <translation>Zeilen in Datei 2, die nicht in Datei 1 sind</translation>
    </message>
    <message>
        <source>Write the lines of FILE2 not in FILE1 to PATH.</source>
        <translation>Die Zeilen von FILE2, die nicht in FILE1 sind, nach PATH schreiben.</translation>
    </message>
    <message>
        <source>Lines Changed In File 2</source>
        <translation>In Datei 2 geänderte Zeilen</translation>
    </message>
    <message>
        <source>With a key, write to PATH the lines of FILE1 that FILE2 holds changed.</source>
        <translation>Mit einem Schlüssel die Zeilen von FILE1, die FILE2 geändert enthält, nach PATH schreiben.</translation>
    </message>
</context>
<context>
    <name>NearMissDialog</name>
    <message>
        <source>File #%1</source>
        <translation>Datei Nr. %1</translation>
    </message>
    <message>
        <source> (%1 characters in all)</source>
        <translation> (insgesamt %1 Zeichen)</translation>
    </message>
    <message>
        <source>No line of %1 comes close to this one.</source>
        <translation>Keine Zeile von %1 kommt dieser nahe.</translation>
    </message>
    <message>
        <source>1 line of %1 looks like it, but for what differs.</source>
        <translation>1 Zeile von %1 gleicht ihr, bis auf das, was sich unterscheidet.</translation>
    </message>
    <message>
        <source>%1 lines of %2 look like it, but for what differs.</source>
        <translation>%1 Zeilen von %2 gleichen ihr, bis auf das, was sich unterscheidet.</translation>
    </message>
    <message>
        <source>Differs in %1.</source>
        <translation>Unterscheidet sich in: %1.</translation>
    </message>
    <message>
        <source>Line %1 of %2:</source>
        <translation>Zeile %1 von %2:</translation>
    </message>
    <message>
        <source>Still looking for lines of %1 that look like it...</source>
        <translation>Suche noch nach Zeilen von %1, die ihr gleichen...</translation>
    </message>
    <message>
        <source>The lines of %1 that look like it could not be found: there was not enough memory.</source>
        <translation>Die Zeilen von %1, die ihr gleichen, ließen sich nicht finden: es gab nicht genug Speicher.</translation>
    </message>
    <message>
        <source>is not in %1.</source>
        <translation>ist nicht in %1.</translation>
    </message>
    <message>
        <source>Why is this line not in %1?</source>
        <translation>Warum ist diese Zeile nicht in %1?</translation>
    </message>
    <message>
        <source>The line %1.</source>
        <translation>Die Zeile %1.</translation>
    </message>
    <message>
        <source>... and %1 more like it, not listed here.</source>
        <translation>... und %1 weitere ähnliche, hier nicht gelistet.</translation>
    </message>
</context>
<context>
    <name>NearMisses</name>
    <message>
        <source>letter case</source>
        <translation>Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>blanks or tabs at line ends</source>
        <translation>Leerzeichen oder Tabulatoren an Zeilenenden</translation>
    </message>
    <message>
        <source>Unicode spelling (NFC/NFD)</source>
        <translation>Unicode-Schreibweise (NFC/NFD)</translation>
    </message>
    <message>
        <source>no-break or other Unicode spaces</source>
        <translation>geschützte oder andere Unicode-Leerzeichen</translation>
    </message>
    <message>
        <source>zero-width characters</source>
        <translation>Zeichen ohne Breite</translation>
    </message>
    <message>
        <source>Windows-1252 bytes against UTF-8</source>
        <translation>Windows-1252-Bytes gegenüber UTF-8</translation>
    </message>
    <message>
        <source>control or format characters</source>
        <translation>Steuer- oder Formatzeichen</translation>
    </message>
    <message>
        <source>blanks or tabs inside the line</source>
        <translation>Leerzeichen oder Tabulatoren in der Zeile</translation>
    </message>
    <message>
        <source>turn off Match Case</source>
        <translation>„Groß/klein“ ausschalten</translation>
    </message>
    <message>
        <source>turn on Ignore Blanks At Line Ends</source>
        <translation>„Leerraum am Rand ignorieren“ einschalten</translation>
    </message>
    <message>
        <source>turn on Look-Alike Lines Match</source>
        <translation>„Ähnliche Zeilen gleich“ einschalten</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>in a tab against a blank inside the line</source>
        <translation>in einem Tabulator statt eines Leerzeichens in der Zeile</translation>
    </message>
    <message>
        <source>in tabs against blanks inside the line</source>
        <translation>in Tabulatoren statt Leerzeichen in der Zeile</translation>
    </message>
    <message>
        <source>in the blanks and tabs inside the line</source>
        <translation>in den Leerzeichen und Tabulatoren in der Zeile</translation>
    </message>
    <message>
        <source>in the blanks inside the line</source>
        <translation>in den Leerzeichen in der Zeile</translation>
    </message>
    <message>
        <source>by a format character (%1)</source>
        <translation>durch ein Formatzeichen (%1)</translation>
    </message>
    <message>
        <source>by a control character (%1)</source>
        <translation>durch ein Steuerzeichen (%1)</translation>
    </message>
    <message>
        <source>by format characters (%1)</source>
        <translation>durch Formatzeichen (%1)</translation>
    </message>
    <message>
        <source>by control characters (%1)</source>
        <translation>durch Steuerzeichen (%1)</translation>
    </message>
    <message>
        <source>in case</source>
        <translation>in der Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>in blanks at the ends</source>
        <translation>in Leerzeichen an den Enden</translation>
    </message>
    <message>
        <source>in how the characters are written (composed accents, no-break spaces, look-alike forms)</source>
        <translation>in der Schreibweise der Zeichen (zusammengesetzte Akzente, geschützte Leerzeichen, ähnliche Formen)</translation>
    </message>
    <message>
        <source>in the key the comparison takes</source>
        <translation>im Schlüssel, den der Vergleich nimmt</translation>
    </message>
    <message>
        <source>Differs %1; no option makes them match.</source>
        <translation>Unterscheidet sich %1; keine Option macht sie gleich.</translation>
    </message>
    <message>
        <source>, or </source>
        <translation> oder </translation>
    </message>
    <message>
        <source>Differs only %1: %2.</source>
        <translation>Unterscheidet sich nur %1: %2.</translation>
    </message>
    <message>
        <source>Differs %1: %2.</source>
        <translation>Unterscheidet sich %1: %2.</translation>
    </message>
</context>
<context>
    <name>OverlapBar</name>
    <message>
        <source>only in file 1</source>
        <translation>nur in Datei 1</translation>
    </message>
    <message>
        <source>only in 1</source>
        <translation>nur in 1</translation>
    </message>
    <message>
        <source>only in file 2</source>
        <translation>nur in Datei 2</translation>
    </message>
    <message>
        <source>only in 2</source>
        <translation>nur in 2</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
    <message>
        <source>in both</source>
        <translation>in beiden</translation>
    </message>
    <message>
        <source>changed</source>
        <translation>geändert</translation>
    </message>
    <message>
        <source>Overlap of the two files</source>
        <translation>Überlappung der beiden Dateien</translation>
    </message>
    <message>
        <source>%1
(F1 explains the bar.)</source>
        <translation>%1
(F1 erklärt den Balken.)</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1 distinct keys %2</source>
        <translation>%1 verschiedene Schlüssel %2</translation>
    </message>
    <message>
        <source>%1 distinct lines %2</source>
        <translation>%1 verschiedene Zeilen %2</translation>
    </message>
    <message>
        <source>%1; %2 of distinct keys in common</source>
        <translation>%1; %2 der verschiedenen Schlüssel gemeinsam</translation>
    </message>
    <message>
        <source>%1; %2 of distinct lines in common</source>
        <translation>%1; %2 der verschiedenen Zeilen gemeinsam</translation>
    </message>
    <message>
        <source>1 key occurs more than once in file %1</source>
        <translation>1 Schlüssel kommt in Datei %1 mehrfach vor</translation>
    </message>
    <message>
        <source>%1 keys occur more than once in file %2</source>
        <translation>%1 Schlüssel kommen in Datei %2 mehrfach vor</translation>
    </message>
    <message>
        <source>%1 of distinct keys in common</source>
        <translation>%1 der verschiedenen Schlüssel gemeinsam</translation>
    </message>
    <message>
        <source>%1 of distinct lines in common</source>
        <translation>%1 der verschiedenen Zeilen gemeinsam</translation>
    </message>
    <message>
        <source>%1 in common</source>
        <translation>%1 gemeinsam</translation>
    </message>
    <message>
        <source>keys repeat</source>
        <translation>Schlüssel wiederholt</translation>
    </message>
    <message>
        <source>Distinct keys:</source>
        <translation>Verschiedene Schlüssel:</translation>
    </message>
    <message>
        <source>Distinct lines:</source>
        <translation>Verschiedene Zeilen:</translation>
    </message>
</context>
<context>
    <name>ResultList</name>
    <message>
        <source>Invalid list position %1: the list holds %2 items</source>
        <translation>Ungültige Listenposition %1: die Liste enthält %2 Einträge</translation>
    </message>
    <message>
        <source>Items can only be put back into an empty list</source>
        <translation>Einträge lassen sich nur in eine leere Liste zurücklegen</translation>
    </message>
    <message>
        <source>A list holds at most 2,147,483,647 lines</source>
        <translation>Eine Liste fasst höchstens 2.147.483.647 Zeilen</translation>
    </message>
    <message>
        <source>Invalid column %1 for a sub-item</source>
        <translation>Ungültige Spalte %1 für einen Untereintrag</translation>
    </message>
    <message>
        <source>The lines cannot go back: the list has changed</source>
        <translation>Die Zeilen können nicht zurück: die Liste hat sich geändert</translation>
    </message>
    <message>
        <source>Invalid column %1: the list has %2 columns</source>
        <translation>Ungültige Spalte %1: die Liste hat %2 Spalten</translation>
    </message>
</context>
<context>
    <name>ResultPane</name>
    <message>
        <source>Save Results As Text File</source>
        <translation>Als Textdatei speichern</translation>
    </message>
    <message>
        <source>Copy Results To Clipboard</source>
        <translation>In Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Find...</source>
        <translation>Suchen...</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Find Previous</source>
        <translation>Rückwärts suchen</translation>
    </message>
</context>
<context>
    <name>ResultView</name>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Check All</source>
        <translation>Alle markieren</translation>
    </message>
    <message>
        <source>Uncheck All</source>
        <translation>Alle Markierungen entfernen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Show Line Numbers</source>
        <translation>Zeilennummern anzeigen</translation>
    </message>
    <message numerus="yes">
        <source>%1, %Ln checked</source>
        <translation>
            <numerusform>%1, %Ln markiert</numerusform>
            <numerusform>%1, %Ln markiert</numerusform>
        </translation>
    </message>
    <message>
        <source>1 line</source>
        <translation>1 Zeile</translation>
    </message>
    <message numerus="yes">
        <source>%Ln lines</source>
        <translation>
            <numerusform>%Ln Zeile</numerusform>
            <numerusform>%Ln Zeilen</numerusform>
        </translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Markieren</translation>
    </message>
    <message>
        <source>Uncheck</source>
        <translation>Markierung entfernen</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>markiert</translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>nicht markiert</translation>
    </message>
    <message>
        <source>%1, line %2</source>
        <translation>%1, Zeile %2</translation>
    </message>
    <message>
        <source>changed %1</source>
        <translation>geändert %1</translation>
    </message>
    <message>
        <source>Copy Selected Lines</source>
        <translation>Ausgewählte Zeilen kopieren</translation>
    </message>
    <message>
        <source>empty line</source>
        <translation>leere Zeile</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings file cannot be used. %1</source>
        <translation>Die Einstellungsdatei lässt sich nicht verwenden. %1</translation>
    </message>
    <message>
        <source>Cannot write the settings file %1</source>
        <translation>Die Einstellungsdatei %1 lässt sich nicht schreiben</translation>
    </message>
</context>
<context>
    <name>SkinFramework</name>
    <message>
        <source>Cannot read %1: it is too large (over %2 bytes)</source>
        <translation>%1 lässt sich nicht lesen: die Datei ist zu groß (über %2 Bytes)</translation>
    </message>
    <message>
        <source>The skin file %1 names a picture that cannot be used. %2</source>
        <translation>Die Skin-Datei %1 nennt ein Bild, das sich nicht verwenden lässt. %2</translation>
    </message>
    <message>
        <source>Cannot use the skin file. %1</source>
        <translation>Die Skin-Datei lässt sich nicht verwenden. %1</translation>
    </message>
    <message>
        <source>The skin file %1 is not a Quillmark skin: its first line is not &quot;%2&quot;</source>
        <translation>Die Skin-Datei %1 ist kein Quillmark-Skin: ihre erste Zeile ist nicht „%2“</translation>
    </message>
    <message>
        <source>No window to apply the skin to</source>
        <translation>Kein Fenster, auf das sich der Skin anwenden ließe</translation>
    </message>
    <message>
        <source>No skin has been loaded</source>
        <translation>Es wurde kein Skin geladen</translation>
    </message>
</context>
<context>
    <name>StartupRoutines</name>
    <message>
        <source>%1 is not a picture this program can read</source>
        <translation>%1 ist kein Bild, das dieses Programm lesen kann</translation>
    </message>
</context>
<context>
    <name>TemporaryFolder</name>
    <message>
        <source>Cannot make a temporary folder in %1: %2</source>
        <translation>In %1 lässt sich kein temporärer Ordner anlegen: %2</translation>
    </message>
    <message>
        <source>There is no room left in the temporary folder %1 (%2); nothing was saved.</source>
        <translation>Im temporären Ordner %1 ist kein Platz mehr (%2); nichts wurde gespeichert.</translation>
    </message>
    <message>
        <source>Cannot write in the temporary folder %1: %2</source>
        <translation>In den temporären Ordner %1 lässt sich nicht schreiben: %2</translation>
    </message>
    <message>
        <source>A file in the temporary folder %1 was cut short.</source>
        <translation>Eine Datei im temporären Ordner %1 wurde gekürzt.</translation>
    </message>
    <message>
        <source>Cannot read the temporary folder %1: %2</source>
        <translation>Der temporäre Ordner %1 lässt sich nicht lesen: %2</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Not enough memory to read %1 (over %2 bytes)</source>
        <translation>Nicht genug Speicher, um %1 zu lesen (über %2 Bytes)</translation>
    </message>
    <message>
        <source>Not enough memory to read %1 (%2 bytes)</source>
        <translation>Nicht genug Speicher, um %1 zu lesen (%2 Bytes)</translation>
    </message>
</context>
<context>
    <name>UndoHistory</name>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles leeren</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;quillmark --help&apos;.</source>
        <translation>Siehe &apos;quillmark --help&apos;.</translation>
    </message>
    <message>
        <source>no display to open the window on (DISPLAY is not set).</source>
        <translation>keine Anzeige, auf der sich das Fenster öffnen ließe (DISPLAY ist nicht gesetzt).</translation>
    </message>
    <message>
        <source>a file name is not valid UTF-8 (%1)</source>
        <translation>ein Dateiname ist kein gültiges UTF-8 (%1)</translation>
    </message>
    <message>
        <source>only the first two files are opened; %1 more ignored.</source>
        <translation>nur die ersten beiden Dateien werden geöffnet; %1 weitere ignoriert.</translation>
    </message>
</context>
</TS>
