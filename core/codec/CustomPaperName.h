// Reads the size out of a custom page-size name such as "Custom.595x842".
#pragma once

// For a text that starts with "Custom": the characters from the eighth up to the first "x" are the
// width and the characters after that "x" the height, each read as a decimal number (atof). The
// width holds at most 15 characters. Texts of another form, texts too short to hold a size, a
// missing "x" and NULL arguments leave both outputs unchanged.
void ParseCustomPaperName(const char* pszName, float* pfWidth, float* pfHeight);
