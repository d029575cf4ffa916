// Zandrovia: a muzzle flash.
#include "zandrovia/spark.h"

#include "kestrum-scenegraph/layergroup.h"

std::shared_ptr<Spark> Spark::New(kestrum::scenegraph::LayerGroup* group, const platform::ImagePtr& image) {
    auto spark = std::make_shared<Spark>();
    spark->Group(group);
    spark->Image(image);
    spark->BlendMode = platform::BlendMode::Additive;
    return spark;
}

std::shared_ptr<Spark> Spark::New(kestrum::scenegraph::Layer* layer, const platform::ImagePtr& image) {
    auto spark = std::make_shared<Spark>();
    spark->Layer(layer);
    spark->Image(image);
    spark->BlendMode = platform::BlendMode::Additive;
    return spark;
}
