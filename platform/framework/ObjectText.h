// Conversion between the text form of component descriptions ("object Form1: TForm1 ... end") and the
// binary component stream.
#pragma once

#include "platform/rtl/Streams.h"

// Reads a text description from input's position and writes its binary stream at output's position.
// Raises EParserError for malformed text.
void ObjectTextToBinary(TStream& input, TStream& output);
// Reads one binary component stream and writes its text form (CR LF line ends, two blanks of indent
// per level, strings quoted with non-ASCII and control characters as #nn). Raises EReadError for a
// malformed stream.
void ObjectBinaryToText(TStream& input, TStream& output);
