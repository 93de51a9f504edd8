#include "platform/xml/well_formed.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "platform/xml/dom.h"

namespace ax::xml::detail {

namespace {

struct Check {
    XML_Parser parser = nullptr;
    Verdict verdict;
    bool elementSeen = false;
};

// Stops the parse here with our own reason.
void refuse(void* data, int32_t code, std::string reason) {
    auto& check = *static_cast<Check*>(data);
    if (check.verdict.code) return;
    check.verdict.code = code;
    check.verdict.reason = std::move(reason);
    check.verdict.offset = static_cast<size_t>(std::max<XML_Index>(0, XML_GetCurrentByteIndex(check.parser)));
    check.verdict.line = static_cast<int32_t>(XML_GetCurrentLineNumber(check.parser));
    check.verdict.linepos = static_cast<int32_t>(XML_GetCurrentColumnNumber(check.parser)) + 1;
    XML_StopParser(check.parser, XML_FALSE);
}

void XMLCALL onDeclaration(void* data, const XML_Char* version, const XML_Char*, int) {
    if (!version) return;
    // XML 1.0 reads any 1.x document; anything else is not one it knows.
    const std::string_view v(version);
    const bool ok = v.size() > 2 && v.substr(0, 2) == "1." &&
                    std::all_of(v.begin() + 2, v.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!ok)
        refuse(data, parse_code::Malformed, "The XML version '" + std::string(v) + "' is not supported.");
}

void XMLCALL onEntity(void* data, const XML_Char* name, int, const XML_Char*, int, const XML_Char*,
                      const XML_Char*, const XML_Char*, const XML_Char*) {
    refuse(data, parse_code::DeclarationsRefused,
           "The document declares the entity '" + std::string(name) +
               "'; entities are never expanded, so the document is refused.");
}

void XMLCALL onAttributeList(void* data, const XML_Char* element, const XML_Char* attribute,
                             const XML_Char* type, const XML_Char* byDefault, int) {
    // A default value or a tokenised type would change the attributes a conforming parser reports.
    if (!byDefault && std::string_view(type) == "CDATA") return;
    refuse(data, parse_code::DeclarationsRefused,
           "The document declares a default or a type for the attribute '" + std::string(attribute) +
               "' of <" + element + ">; declared attributes are not applied, so the document is refused.");
}

void XMLCALL onSkippedEntity(void* data, const XML_Char* name, int) {
    refuse(data, parse_code::DeclarationsRefused,
           "The document refers to the entity '" + std::string(name) +
               "', which is not declared in it; external declarations are never read.");
}

// Only the first element is of interest: the handler goes once it has seen it.
void XMLCALL onFirstElement(void* data, const XML_Char*, const XML_Char**) {
    auto& check = *static_cast<Check*>(data);
    check.elementSeen = true;
    XML_SetStartElementHandler(check.parser, nullptr);
}

std::string sentence(const XML_LChar* text) {
    std::string s = text ? text : "not well-formed";
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = char(s[0] - 'a' + 'A');
    return s + ".";
}

}  // namespace

Verdict checkWellFormed(std::string_view utf8) {
    Check check;
    std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreateNS("UTF-8", '\n'),
                                                                   XML_ParserFree);
    if (!parser) {
        check.verdict.code = parse_code::Malformed;
        check.verdict.reason = "Out of memory.";
        return check.verdict;
    }
    check.parser = parser.get();
    XML_SetUserData(check.parser, &check);
    XML_SetXmlDeclHandler(check.parser, onDeclaration);
    XML_SetEntityDeclHandler(check.parser, onEntity);
    XML_SetAttlistDeclHandler(check.parser, onAttributeList);
    XML_SetSkippedEntityHandler(check.parser, onSkippedEntity);
    XML_SetStartElementHandler(check.parser, onFirstElement);

    // expat takes lengths as int: a larger text goes in pieces.
    constexpr size_t kPiece = size_t(1) << 30;
    std::string_view rest = utf8;
    XML_Status status = XML_STATUS_OK;
    do {
        const std::string_view piece = rest.substr(0, kPiece);
        rest.remove_prefix(piece.size());
        status = XML_Parse(check.parser, piece.data(), static_cast<int>(piece.size()), rest.empty());
    } while (status == XML_STATUS_OK && !rest.empty());
    if (status == XML_STATUS_OK || check.verdict.code) return check.verdict;

    // expat says "no element found" also when the text ends inside the document element.
    const XML_Error error = XML_GetErrorCode(check.parser);
    const bool cutOff = error == XML_ERROR_NO_ELEMENTS && check.elementSeen;
    check.verdict.code =
        error == XML_ERROR_NO_ELEMENTS && !cutOff ? parse_code::NoDocumentElement : parse_code::Malformed;
    check.verdict.reason = cutOff ? "The document ends before its document element is closed."
                                  : sentence(XML_ErrorString(error));
    check.verdict.offset = static_cast<size_t>(std::max<XML_Index>(0, XML_GetCurrentByteIndex(check.parser)));
    check.verdict.line =
        static_cast<int32_t>(std::min<XML_Size>(XML_GetCurrentLineNumber(check.parser), INT_MAX));
    check.verdict.linepos =
        static_cast<int32_t>(std::min<XML_Size>(XML_GetCurrentColumnNumber(check.parser), INT_MAX - 1)) + 1;
    return check.verdict;
}

}  // namespace ax::xml::detail
