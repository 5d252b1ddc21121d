#include "HostileXml.h"

EntityAttack BillionLaughs() {
    std::string subset = "<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 10; ++i) {
        subset += "<!ENTITY l" + std::to_string(i) + " \"" +
                  Repeated("&l" + std::to_string(i - 1) + ";", 10) + "\">";
    }
    return {subset, "&l10;"};
}

EntityAttack QuadraticBlowUp() {
    return {"<!ENTITY a \"" + std::string(50000, 'a') + "\">", Repeated("&a;", 50000)};
}

EntityAttack ExternalEntity() {
    return {"<!ENTITY x SYSTEM \"file:///etc/passwd\">", "&x;"};
}

std::string Repeated(const std::string& text, int times) {
    std::string all;
    all.reserve(text.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}
