# Three-list join for gawk or mawk.
#
#   awk -v icase=0|1 -v both=PATH -v only1=PATH -v only2=PATH \
#       -f join.awk FILE2 pass=2 FILE1 pass=3 FILE2
#
# FILE2 is read twice: first to fill the lookup table (the usual NR==FNR
# idiom), then again at the end to list its lines that FILE1 lacks.
# Every CR is removed from a line before it is used. With icase=1 the keys
# go through tolower(); gawk does that per character in a UTF-8 locale, mawk
# only for ASCII letters, so mawk is run with icase=0 only.
#
# awk does not report an empty record after the final line feed, so a file
# ending in CR LF has one line less here than in quillmark-compare.

{
    gsub(/\r/, "")
    key = icase ? tolower($0) : $0
}

NR == FNR {
    in2[key] = 1
    next
}

pass == 2 {
    if (key in in2)
        print > both
    else
        print > only1
    in1[key] = 1
    next
}

pass == 3 {
    if (!(key in in1))
        print > only2
}
