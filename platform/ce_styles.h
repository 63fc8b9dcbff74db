// Windows CE style and flag values that desktop headers lack. Plain defines only,
// so that resource scripts can include this file as well as C++ sources.
#pragma once

// Extended window style: the caption carries an OK box that sends WM_COMMAND IDOK.
#define WS_EX_CAPTIONOKBTN 0x80000000L

// CommandBar_AddAdornments and CommandBands_AddAdornments flags; the close box is always added.
#define CMDBAR_HELP 0x0001
#define CMDBAR_OK 0x0002

// Command bands style: band titles shown only where there is room. The desktop rebar has no
// such style and reads the bit as RBS_REGISTERDROP, so CommandBands_Create drops it.
#define RBS_SMARTLABELS 0x1000
