#include "install/failure_texts.h"

#include "screens/compose.h"

std::string LocateFailureText() {
    return ComposeText({
        "I can't locate the directory that you have chosen ...",
        "",
        "I'm returning you to where you can select the location",
        "again. If you still have problems, try keeping the",
        "initial default location the same.",
        "",
        "Select 'OK' To try again ...",
    });
}

std::string CreateFailureText() {
    return ComposeText({
        "Hmmm? I can't seem to create the 'Game' folder",
        "inside the location you have chosen. It could",
        "be that you don't have 'Administrative Rights'",
        "to save data to that location.",
        "",
        "I am returning you to where you can select the",
        "location again. If you still experience problems",
        "then try leaving the location set to the default.",
        "",
        "Select 'OK' to try it again ...",
    });
}

std::string SaveFailureText() {
    return ComposeText({
        "Hmmm? I can't seem to save any data. It could",
        "be that you don't have 'Administrative Rights'",
        "to save data to that location or the area is full.",
        "You need about 9 MB. of free space to install",
        "",
        "I am returning you to where you can select the",
        "location again. If you still experience problems",
        "then try leaving the location set to the default.",
        "",
        "Select 'OK' to try it again ...",
    });
}

std::string RemoveFailureText() {
    return ComposeText({
        "Hmmm? I can't seem to remove the old 'Kestrowin'",
        "folder inside the location you have chosen. A file",
        "in it may be read-only or still in use by another",
        "program.",
        "",
        "I am returning you to where you can select the",
        "location again. If you still experience problems",
        "then try leaving the location set to the default.",
        "",
        "Select 'OK' to try it again ...",
    });
}
