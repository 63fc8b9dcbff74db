// glimmer-convert's texts: a row of the catalogue in the run's language, its "%s" and "%d"
// filled in order with the given words.
#pragma once

#include <vector>
#include <string>

#include "conversion/texts/text_catalogue.h"

std::string TextOf(Language language, TextId text, const std::vector<std::string>& words = {});
