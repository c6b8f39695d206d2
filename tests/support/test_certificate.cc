#include "support/test_certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace zelmora::testing {
namespace {

template <typename T, void (*Free)(T*)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string("test certificate: ") + what);
}

void AddExtension(X509* certificate, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
  Owned<X509_EXTENSION, X509_EXTENSION_free> extension(
      X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
  Require(extension && X509_add_ext(certificate, extension.get(), -1) == 1, "extension");
}

std::string AltNames(const std::vector<std::string>& dnsNames,
                     const std::vector<std::string>& ipAddresses) {
  std::string names;
  for (const std::string& name : dnsNames) names += (names.empty() ? "DNS:" : ",DNS:") + name;
  for (const std::string& ip : ipAddresses) names += (names.empty() ? "IP:" : ",IP:") + ip;
  return names;
}

std::string ToPem(int (*write)(BIO*, void*), void* object) {
  Owned<BIO, BIO_free_all> bio(BIO_new(BIO_s_mem()));
  Require(bio && write(bio.get(), object) == 1, "PEM");
  char* data = nullptr;
  const long length = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(length));
}

int WriteCertificate(BIO* bio, void* certificate) {
  return PEM_write_bio_X509(bio, static_cast<X509*>(certificate));
}

int WriteKey(BIO* bio, void* key) {
  return PEM_write_bio_PrivateKey(bio, static_cast<EVP_PKEY*>(key), nullptr, nullptr, 0, nullptr,
                                  nullptr);
}

}  // namespace

TlsIdentity MakeSelfSignedIdentity(const std::vector<std::string>& dnsNames,
                                   const std::vector<std::string>& ipAddresses) {
  Owned<EVP_PKEY, EVP_PKEY_free> key(EVP_EC_gen("P-256"));
  Owned<X509, X509_free> certificate(X509_new());
  Require(key && certificate, "allocation");
  X509_set_version(certificate.get(), 2);
  unsigned char serial[8];
  Require(RAND_bytes(serial, sizeof serial) == 1, "serial");
  serial[0] &= 0x7F;
  Owned<BIGNUM, BN_free> serialNumber(BN_bin2bn(serial, sizeof serial, nullptr));
  BN_to_ASN1_INTEGER(serialNumber.get(), X509_get_serialNumber(certificate.get()));
  X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
  X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 24 * 3600);
  X509_NAME* name = X509_get_subject_name(certificate.get());
  const std::string commonName = dnsNames.empty() ? "zelmora test" : dnsNames.front();
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
  X509_set_issuer_name(certificate.get(), name);
  X509_set_pubkey(certificate.get(), key.get());
  AddExtension(certificate.get(), NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(certificate.get(), NID_key_usage, "critical,digitalSignature,keyCertSign");
  AddExtension(certificate.get(), NID_ext_key_usage, "serverAuth");
  const std::string altNames = AltNames(dnsNames, ipAddresses);
  if (!altNames.empty()) AddExtension(certificate.get(), NID_subject_alt_name, altNames);
  Require(X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0, "signature");
  return {ToPem(&WriteCertificate, certificate.get()), ToPem(&WriteKey, key.get())};
}

}  // namespace zelmora::testing
