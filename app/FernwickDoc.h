// CFernwickDoc: the one document. It holds nothing; the program never loads or saves one.
#pragma once
#include "framework/Document.h"

class CFernwickDoc : public CDocument {
};
