// Build step: turns a shipped workbook's text source into its .xls file.
#include <fstream>
#include <iostream>
#include <iterator>

#include "xls/WorkbookSource.h"
#include "xls/XlsFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tessaline_make_workbook SOURCE.tsv OUTPUT.xls\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        tessaline::xls::writeWorkbook(argv[2], tessaline::xls::parseWorkbookSource(text, argv[1]));
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
