#include "clsStringConcat.h"

void clsStringConcat::Clear() {
    m_buffer.truncate(0);
}

void clsStringConcat::Concat(const QString& text) {
    m_buffer += text;
}
