#include "engine/readers/xlsx/CellReference.h"

namespace engine {

int32_t CellReference::ParseColumn(std::string_view text, size_t& used) {
    int32_t column = 0;
    used = 0;
    while (used < text.size()) {
        char c = text[used];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c < 'A' || c > 'Z') {
            break;
        }
        column = column * 26 + (c - 'A' + 1);
        if (column > MaxColumns) {
            return 0;
        }
        ++used;
    }
    return column;
}

bool CellReference::Parse(std::string_view text, int32_t& row, int32_t& column) {
    if (!text.empty() && text[0] == '$') {
        text.remove_prefix(1);
    }
    size_t used = 0;
    const int32_t parsedColumn = ParseColumn(text, used);
    if (parsedColumn == 0) {
        return false;
    }
    text.remove_prefix(used);
    if (!text.empty() && text[0] == '$') {
        text.remove_prefix(1);
    }
    int32_t parsedRow = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        parsedRow = parsedRow * 10 + (c - '0');
        if (parsedRow > MaxRows) {
            return false;
        }
    }
    if (parsedRow < 1) {
        return false;
    }
    row = parsedRow;
    column = parsedColumn;
    return true;
}

bool CellReference::ParseRange(std::string_view text, CellRect& rect) {
    const size_t colon = text.find(':');
    if (!Parse(text.substr(0, colon), rect.top, rect.left)) {
        return false;
    }
    if (colon == std::string_view::npos) {
        rect.bottom = rect.top;
        rect.right = rect.left;
        return true;
    }
    if (!Parse(text.substr(colon + 1), rect.bottom, rect.right)) {
        return false;
    }
    if (rect.bottom < rect.top) {
        std::swap(rect.top, rect.bottom);
    }
    if (rect.right < rect.left) {
        std::swap(rect.left, rect.right);
    }
    return true;
}

}  // namespace engine
