// Font: a shared object, as automation fonts are; setting a font property hands over the reference.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/object.h"

namespace ax {

class Font : public Object {
public:
    Font() = default;
    Font(std::string name, float size) : name_(std::move(name)), size_(size) {}

    const std::string& Name() const { return name_; }
    void setName(std::string v) { name_ = std::move(v); }
    float Size() const { return size_; }  // points, kept to 4 decimals as automation does
    void setSize(float v);
    bool Bold() const { return weight_ >= 700; }
    void setBold(bool v) { weight_ = v ? 700 : 400; }
    bool Italic() const { return italic_; }
    void setItalic(bool v) { italic_ = v; }
    bool Underline() const { return underline_; }
    void setUnderline(bool v) { underline_ = v; }
    bool Strikethrough() const { return strikethrough_; }
    void setStrikethrough(bool v) { strikethrough_ = v; }
    int16_t Weight() const { return weight_; }
    void setWeight(int16_t v) { weight_ = v; }
    int16_t Charset() const { return charset_; }
    void setCharset(int16_t v) { charset_ = v; }

    std::shared_ptr<Font> clone() const { return std::make_shared<Font>(*this); }
    bool sameAs(const Font& o) const;  // every attribute equal

    Variant Invoke(std::string_view name, InvokeKind kind, std::vector<Variant>& args) override;
    bool HasMember(std::string_view name, InvokeKind kind) const override;

private:
    std::string name_ = "MS Sans Serif";
    float size_ = 8.25f;
    bool italic_ = false, underline_ = false, strikethrough_ = false;
    int16_t weight_ = 400;
    int16_t charset_ = 0;
};

using FontPtr = std::shared_ptr<Font>;

}  // namespace ax
