// Planted: one program reaching into the other.
#include "cli/Session.h"
#include "console/Prompts.h"
// Planted: past the book's door, and through it.
#include "book/VisitBook.h"
#include "book/Book.h"
