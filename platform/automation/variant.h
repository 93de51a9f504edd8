// Variant and SafeArray: the values that cross the automation boundary.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace ax {

class Object;
class SafeArray;

// Kinds, numbered as automation numbers them (VarType).
enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Date = 7,
    String = 8,
    Object = 9,
    Boolean = 11,
    Variant = 12,  // element type of an array of variants
    Array = 0x2000,
};

// An automation date: days since 30 December 1899, the fraction being the time of day.
struct Date {
    double value = 0.0;
    friend bool operator==(Date a, Date b) { return a.value == b.value; }
};

struct Null {
    friend bool operator==(Null, Null) { return true; }
};

// The kinds a Variant stores by value, which assignment can write in place.
template <class T>
concept StoredValue = std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t> || std::is_same_v<T, float> ||
                      std::is_same_v<T, double> || std::is_same_v<T, bool> || std::is_same_v<T, Date> ||
                      std::is_same_v<T, std::string>;

class Variant {
public:
    Variant() = default;
    Variant(Null) : v_(Null{}) {}
    Variant(int16_t i) : v_(i) {}
    Variant(int32_t l) : v_(l) {}
    Variant(float f) : v_(f) {}
    Variant(double d) : v_(d) {}
    Variant(bool b) : v_(b) {}
    Variant(Date d) : v_(d) {}
    Variant(const std::string& s) : v_(s) {}
    Variant(std::string&& s) : v_(std::move(s)) {}
    Variant(std::string_view s) : v_(std::string(s)) {}
    Variant(const char* s) : v_(std::string(s)) {}
    Variant(std::shared_ptr<Object> o) : v_(std::move(o)) {}
    template <class T>
        requires std::is_base_of_v<Object, T>
    Variant(std::shared_ptr<T> o) : v_(std::shared_ptr<Object>(std::move(o))) {}
    Variant(std::shared_ptr<SafeArray> a) : v_(std::move(a)) {}
    Variant(SafeArray a);

    // Assigning a value of a stored kind reuses what the Variant holds when it is of the same kind (a
    // text keeps its buffer), so a caller can refill an argument list without allocating.
    template <class T>
        requires StoredValue<std::remove_cvref_t<T>>
    Variant& operator=(T&& value) {
        v_ = std::forward<T>(value);
        return *this;
    }

    // A Variant holding the text make() returns, built where it is stored: a member's text result is
    // neither copied nor moved on its way into the result.
    template <class F>
    static Variant ofText(F&& make) {
        return Variant(std::in_place_type<std::string>, make);
    }

    VarType type() const;  // Array | element type for arrays
    bool isEmpty() const { return v_.index() == 0; }
    bool isNull() const { return std::holds_alternative<Null>(v_); }
    bool isString() const { return std::holds_alternative<std::string>(v_); }
    bool isObject() const { return std::holds_alternative<std::shared_ptr<Object>>(v_); }
    bool isArray() const { return std::holds_alternative<std::shared_ptr<SafeArray>>(v_); }
    bool isNumeric() const;  // Integer, Long, Single, Double, Boolean or Date kinds (not numeric text)

    // Direct access to the stored value; nullptr when the kind differs.
    template <class T>
    const T* get() const { return std::get_if<T>(&v_); }
    template <class T>
    T* get() { return std::get_if<T>(&v_); }

    const std::shared_ptr<Object>& object() const;       // raises 424 unless an Object (nullptr allowed)
    const std::shared_ptr<SafeArray>& array() const;     // raises 13 unless an array

    // Conversions with the automation rules (see convert.h); impossible ones raise 13, overflow 6.
    int16_t toInteger() const;
    int32_t toLong() const;
    float toSingle() const;
    double toDouble() const;
    bool toBoolean() const;
    Date toDate() const;
    std::string toString() const;

    friend bool operator==(const Variant& a, const Variant& b);  // same kind and same value

private:
    template <class F>
    struct Made {
        F& make;
        operator std::string() const { return make(); }  // initialises the stored text directly
    };
    template <class F>
    Variant(std::in_place_type_t<std::string>, F& make) : v_(std::in_place_type<std::string>, Made<F>{make}) {}

    std::variant<std::monostate, Null, int16_t, int32_t, float, double, bool, Date, std::string,
                 std::shared_ptr<Object>, std::shared_ptr<SafeArray>>
        v_;
};

// A multi-dimensional array with its own lower bound per dimension. An array that was never
// dimensioned (no dimensions) is distinct from one dimensioned empty.
class SafeArray {
public:
    struct Bound {
        int32_t lower = 0;
        int32_t count = 0;  // elements in this dimension; upper = lower + count - 1
    };

    SafeArray() = default;  // not dimensioned
    explicit SafeArray(VarType elementType) : elementType_(elementType) {}
    SafeArray(VarType elementType, std::vector<Bound> bounds);

    VarType elementType() const { return elementType_; }
    bool dimensioned() const { return !bounds_.empty(); }
    int dims() const { return static_cast<int>(bounds_.size()); }
    int32_t lbound(int dim) const;  // dim counts from 1, as LBound does; raises 9 when out of range
    int32_t ubound(int dim) const;
    size_t size() const { return data_.size(); }

    // Redimensions, discarding the contents (ReDim without Preserve). Raises 9 for a negative count.
    void redim(std::vector<Bound> bounds);
    void erase() { bounds_.clear(); data_.clear(); }

    // Element access by subscripts (one per dimension); raises 9 outside the bounds.
    Variant& at(std::initializer_list<int32_t> subscripts);
    const Variant& at(std::initializer_list<int32_t> subscripts) const;
    Variant& at(const std::vector<int32_t>& subscripts);
    const Variant& at(const std::vector<int32_t>& subscripts) const;

    // Flat storage, first dimension varying fastest as automation arrays store it.
    std::vector<Variant>& data() { return data_; }
    const std::vector<Variant>& data() const { return data_; }

private:
    size_t offset(const int32_t* subs, size_t n) const;

    VarType elementType_ = VarType::Variant;
    std::vector<Bound> bounds_;
    std::vector<Variant> data_;
};

}  // namespace ax
