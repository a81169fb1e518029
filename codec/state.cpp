// The installer's one codec state, used by LzariDecode and LzariEncode.
#include "codec/lzari.h"

LzariState CodecState;
