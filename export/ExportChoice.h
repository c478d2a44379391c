// What an export writes and in which file format.
#pragma once

namespace gleaner {

enum class ExportChoice {
  Everything,  // every row, all four columns
  Sellers,     // the person columns without duplicates
};

enum class ExportFormat { Xlsx, Csv };

}  // namespace gleaner
