#pragma once

// Certificates made at test time for the https test server.

#include <string>
#include <vector>

namespace zelmora::testing {

// A certificate with its private key, both PEM.
struct TlsIdentity {
  std::string certificatePem;
  std::string privateKeyPem;
};

// A fresh self-signed certificate (EC P-256, valid from an hour ago for a
// day) for the given DNS names and IP addresses. It can also serve as its
// own trusted authority.
TlsIdentity MakeSelfSignedIdentity(const std::vector<std::string>& dnsNames,
                                   const std::vector<std::string>& ipAddresses);

}  // namespace zelmora::testing
