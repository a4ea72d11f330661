#include "EngineTest.h"

#include "platform/Text.h"

#include <ostream>

void PrintTo(const RegValue& v, std::ostream* os) {
    if (v.IsEmpty()) *os << "<no value>";
    else if (v.IsReadError()) *os << "<read error>";
    else if (v.IsText()) *os << "text \"" << Text::ToAnsi(v.Text()) << "\" (" << v.Text().size() << " chars)";
    else if (v.IsNumber()) *os << "number " << v.Number();
    else *os << "bytes [" << Text::ToAnsi(v.ToText()) << "]";
}
