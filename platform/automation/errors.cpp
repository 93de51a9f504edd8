#include "platform/automation/errors.h"

#include <unordered_map>

namespace ax {

std::string errorText(int32_t number) {
    static const std::unordered_map<int32_t, const char*> texts = {
        {err::InvalidProcedureCall, "Invalid procedure call or argument"},
        {err::Overflow, "Overflow"},
        {err::OutOfMemory, "Out of memory"},
        {err::SubscriptOutOfRange, "Subscript out of range"},
        {err::TypeMismatch, "Type mismatch"},
        {err::FileNotFound, "File not found"},
        {err::ObjectNotSet, "Object variable or With block variable not set"},
        {err::InvalidUseOfNull, "Invalid use of Null"},
        {err::PathFileAccessError, "Path/File access error"},
        {err::PathNotFound, "Path not found"},
        {err::InvalidPropertyValue, "Invalid property value"},
        {err::InvalidPropertyArrayIndex, "Invalid property-array index"},
        {err::RunTimeOnly, "Set not supported at run time"},
        {err::NotAtDesignTime, "Set not permitted"},
        {err::ObjectRequired, "Object required"},
        {err::CannotCreateObject, "ActiveX component can't create object"},
        {err::MemberNotFound, "Object doesn't support this property or method"},
        {err::WrongArgumentCount, "Wrong number of arguments or invalid property assignment"},
        {err::InvalidPicture, "Invalid picture"},
    };
    auto it = texts.find(number);
    if (it != texts.end()) return it->second;
    return "Application-defined or object-defined error";
}

AutomationError::AutomationError(int32_t number, std::string description)
    : std::runtime_error(std::to_string(number) + ": " + description),
      number_(number),
      description_(std::move(description)) {}

AutomationError::AutomationError(int32_t number) : AutomationError(number, errorText(number)) {}

void raise(int32_t number) { throw AutomationError(number); }
void raise(int32_t number, std::string description) { throw AutomationError(number, std::move(description)); }

}  // namespace ax
