// The numbers of the program's bitmaps and icon, shared by the program and the resource script
// (vintorel.rc). Plain #defines with include guards, so the resource compiler reads it too.
#ifndef VINTOREL_RESOURCE_H
#define VINTOREL_RESOURCE_H

#define IDB_LIPS 126    // lips.bmp: the sound switch showing spoken digits
#define IDB_FLAG_EN 147 // flag_en.bmp: the language switch showing English
#define IDB_FLAG_RU 149 // flag_ru.bmp: the language switch showing Russian
#define IDB_NOTE 165    // note.bmp: the sound switch showing the tone
#define IDI_APP 168     // vintorel.ico: the window's and the program file's icon

// "#126" and the like: a resource number as the text of an SS_BITMAP static, which names the
// bitmap the static shows when it is created.
#define RESOURCE_TEXT2(id) "#" #id
#define RESOURCE_TEXT(id) RESOURCE_TEXT2(id)

#endif
