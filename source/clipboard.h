// Replaces the clipboard's whole content with one 8-bit text.
#pragma once

void PublishClipboardText(const char* text);
