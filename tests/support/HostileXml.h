#pragma once

#include <string>

// Documents that attack an XML parser, for every door that takes XML. Each gives the
// internal subset of a document type and the text that expands it; the caller puts both
// into its own format.
struct EntityAttack {
    std::string subset;
    std::string reference;
};

// Ten levels of ten references each: 10^10 times "lol" if it were expanded.
EntityAttack BillionLaughs();
// 50,000 references to an entity of 50,000 bytes: 2.5 GB if it were expanded.
EntityAttack QuadraticBlowUp();
// An external entity that names a file of the system.
EntityAttack ExternalEntity();

// The text repeated.
std::string Repeated(const std::string& text, int times);
