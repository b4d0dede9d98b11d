#ifndef PEL_MESSAGE_TEXTS_H
#define PEL_MESSAGE_TEXTS_H

// The texts of the messages that the portable core shows. The program's string table takes
// them from here, so a native build without the resources shows the same words.
// (Macros, not constants: the resource compiler reads this file too.)
#define PEL_TEXT_CANNOT_LOAD_CODESET "Cannot load the code set file for '%s'."
#define PEL_TEXT_CANNOT_OPEN_CLIPBOARD "Cannot open the Clipboard."
#define PEL_TEXT_CANNOT_SAVE_BITMAP "Cannot save the bitmap."

#endif
