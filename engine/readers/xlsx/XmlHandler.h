// What a part parser receives from XmlStream: elements by local name (namespace prefixes
// dropped, so Transitional and Strict files and any prefix spelling read alike) and
// character data in UTF-8 pieces.
#pragma once

#include <cstring>
#include <string_view>

namespace engine {

class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // `attributes` is expat's list of name/value pairs, ending in a null name; use Attribute().
    virtual void StartElement(std::string_view name, const char** attributes) = 0;
    virtual void EndElement(std::string_view name) = 0;
    virtual void Characters(std::string_view) {}

    // The value of the attribute with local name `name`, or null.
    static const char* Attribute(const char** attributes, std::string_view name) {
        for (; attributes[0]; attributes += 2) {
            if (LocalName(attributes[0]) == name) {
                return attributes[1];
            }
        }
        return nullptr;
    }

    // The name without its prefix ("x:c" → "c", "r:id" → "id").
    static std::string_view LocalName(const char* qualified) {
        const char* local = std::strchr(qualified, ':');
        return local ? local + 1 : qualified;
    }
};

}  // namespace engine
