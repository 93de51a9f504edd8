#include "platform/automation/variant.h"

#include <climits>

#include "platform/automation/convert.h"
#include "platform/automation/errors.h"
#include "platform/automation/object.h"

namespace ax {

Variant::Variant(SafeArray a) : v_(std::make_shared<SafeArray>(std::move(a))) {}

VarType Variant::type() const {
    switch (v_.index()) {
        case 0:
            return VarType::Empty;
        case 1:
            return VarType::Null;
        case 2:
            return VarType::Integer;
        case 3:
            return VarType::Long;
        case 4:
            return VarType::Single;
        case 5:
            return VarType::Double;
        case 6:
            return VarType::Boolean;
        case 7:
            return VarType::Date;
        case 8:
            return VarType::String;
        case 9:
            return VarType::Object;
        default: {
            auto& a = std::get<std::shared_ptr<SafeArray>>(v_);
            auto elem = a ? a->elementType() : VarType::Variant;
            return static_cast<VarType>(static_cast<uint16_t>(VarType::Array) | static_cast<uint16_t>(elem));
        }
    }
}

bool Variant::isNumeric() const {
    switch (v_.index()) {
        case 2:
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
            return true;
        default:
            return false;
    }
}

const std::shared_ptr<Object>& Variant::object() const {
    if (auto* o = std::get_if<std::shared_ptr<Object>>(&v_)) return *o;
    raise(err::ObjectRequired);
}

const std::shared_ptr<SafeArray>& Variant::array() const {
    if (auto* a = std::get_if<std::shared_ptr<SafeArray>>(&v_)) return *a;
    raise(err::TypeMismatch);
}

int16_t Variant::toInteger() const { return cInt(*this); }
int32_t Variant::toLong() const { return cLng(*this); }
float Variant::toSingle() const { return cSng(*this); }
double Variant::toDouble() const { return cDbl(*this); }
bool Variant::toBoolean() const { return cBool(*this); }
Date Variant::toDate() const { return cDate(*this); }
std::string Variant::toString() const { return cStr(*this); }

bool operator==(const Variant& a, const Variant& b) {
    if (a.v_.index() != b.v_.index()) return false;
    if (a.isArray()) {
        const auto& x = std::get<std::shared_ptr<SafeArray>>(a.v_);
        const auto& y = std::get<std::shared_ptr<SafeArray>>(b.v_);
        if (x == y) return true;
        if (!x || !y) return false;
        if (x->dims() != y->dims() || x->data() != y->data()) return false;
        for (int d = 1; d <= x->dims(); ++d)
            if (x->lbound(d) != y->lbound(d) || x->ubound(d) != y->ubound(d)) return false;
        return true;
    }
    return a.v_ == b.v_;
}

// --- SafeArray --------------------------------------------------------------------------------

namespace {

// A freshly dimensioned array holds the zero value of its element type, as ReDim leaves it.
Variant initialElement(VarType type) {
    switch (type) {
        case VarType::Integer:
            return Variant(int16_t(0));
        case VarType::Long:
            return Variant(int32_t(0));
        case VarType::Single:
            return Variant(0.0f);
        case VarType::Double:
            return Variant(0.0);
        case VarType::Boolean:
            return Variant(false);
        case VarType::Date:
            return Variant(Date{});
        case VarType::String:
            return Variant(std::string());
        case VarType::Object:
            return Variant(std::shared_ptr<Object>());
        default:
            return Variant();
    }
}

}  // namespace

SafeArray::SafeArray(VarType elementType, std::vector<Bound> bounds) : elementType_(elementType) {
    redim(std::move(bounds));
}

void SafeArray::redim(std::vector<Bound> bounds) {
    size_t total = 1;
    for (const auto& b : bounds) {
        // the upper bound must be a 32-bit number too, also for an empty dimension
        const int64_t upper = int64_t(b.lower) + b.count - 1;
        if (b.count < 0 || upper > INT32_MAX || upper < INT32_MIN) raise(err::SubscriptOutOfRange);
        if (b.count != 0 && total > (size_t(1) << 40) / size_t(b.count)) raise(err::OutOfMemory);
        total *= size_t(b.count);
    }
    if (bounds.empty()) total = 0;
    data_.assign(total, initialElement(elementType_));
    bounds_ = std::move(bounds);
}

int32_t SafeArray::lbound(int dim) const {
    if (dim < 1 || dim > dims()) raise(err::SubscriptOutOfRange);
    return bounds_[dim - 1].lower;
}

int32_t SafeArray::ubound(int dim) const {
    if (dim < 1 || dim > dims()) raise(err::SubscriptOutOfRange);
    // Worked out wide: the upper bound may be the largest 32-bit number, which lower + count exceeds.
    return static_cast<int32_t>(int64_t(bounds_[dim - 1].lower) + bounds_[dim - 1].count - 1);
}

size_t SafeArray::offset(const int32_t* subs, size_t n) const {
    if (n != bounds_.size()) raise(err::SubscriptOutOfRange);
    size_t off = 0, stride = 1;
    for (size_t d = 0; d < n; ++d) {
        int64_t i = int64_t(subs[d]) - bounds_[d].lower;
        if (i < 0 || i >= bounds_[d].count) raise(err::SubscriptOutOfRange);
        off += size_t(i) * stride;
        stride *= size_t(bounds_[d].count);
    }
    return off;
}

Variant& SafeArray::at(std::initializer_list<int32_t> s) { return data_[offset(s.begin(), s.size())]; }
const Variant& SafeArray::at(std::initializer_list<int32_t> s) const {
    return data_[offset(s.begin(), s.size())];
}
Variant& SafeArray::at(const std::vector<int32_t>& s) { return data_[offset(s.data(), s.size())]; }
const Variant& SafeArray::at(const std::vector<int32_t>& s) const {
    return data_[offset(s.data(), s.size())];
}

}  // namespace ax
