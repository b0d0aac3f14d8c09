#include <iostream>

#include "CollectionCheck.hpp"

int main(int argc, char** argv) {
    return orrelith::collection::CollectionCheck::main({argv + 1, argv + argc}, ORRELITH_COLLECTION_DIR, std::cout);
}
