// The one table of automation error numbers and their standard texts.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace ax {

namespace err {
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t PathFileAccessError = 75;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectRequired = 424;
inline constexpr int32_t InvalidPropertyValue = 380;
inline constexpr int32_t InvalidPropertyArrayIndex = 381;
inline constexpr int32_t RunTimeOnly = 382;      // property cannot be used at design time
inline constexpr int32_t NotAtDesignTime = 387;  // property cannot be set at design time
inline constexpr int32_t CannotCreateObject = 429;
inline constexpr int32_t MemberNotFound = 438;  // object doesn't support this property or method
inline constexpr int32_t WrongArgumentCount = 450;
inline constexpr int32_t InvalidPicture = 481;
}  // namespace err

// The standard text of an error number ("Overflow" for 6); a generic text for numbers outside the table.
std::string errorText(int32_t number);

// A failure as an automation client sees it: a number and a description.
class AutomationError : public std::runtime_error {
  public:
    AutomationError(int32_t number, std::string description);
    explicit AutomationError(int32_t number);  // with the standard text of the number
    int32_t number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

  private:
    int32_t number_;
    std::string description_;
};

// Raise an error: the standard text unless a description is given.
[[noreturn]] void raise(int32_t number);
[[noreturn]] void raise(int32_t number, std::string description);

}  // namespace ax
