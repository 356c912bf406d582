// Keeps a label's text inside the box its window's design gives it.
#pragma once

class QLabel;

// The design's boxes were measured for "MS Sans Serif"; where a wider font stands in, the text
// would be cut off, so it is made smaller until it fits.
void shrinkToFit(QLabel *label);
