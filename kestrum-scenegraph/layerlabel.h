// LayerLabel: one line of text in a font. The default constructor gives the
// placeholder font; a label without a font or text has size 0 and draws
// nothing.
#pragma once

#include <memory>
#include <string>

#include "kestrum-scenegraph/layerobject.h"
#include "platform/font.h"

namespace kestrum::scenegraph {

class LayerLabel : public LayerObject {
public:
    LayerLabel();

    // A label placed in the layer with the font as given (null included).
    static std::shared_ptr<LayerLabel> New(scenegraph::Layer* layer, platform::FontPtr font, std::string text);

    platform::FontPtr Font;
    std::string Text;

    using LayerObject::Height;
    using LayerObject::Width;
    // The text's width (advances and kerning), 0 without font or text.
    float Width() const override;
    // The font's height, 0 without font or text.
    float Height() const override;
    void Draw(platform::Canvas& canvas) override;
};

}  // namespace kestrum::scenegraph
