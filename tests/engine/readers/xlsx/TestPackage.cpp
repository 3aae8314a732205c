#include "tests/engine/readers/xlsx/TestPackage.h"

#include "tests/support/TestEnvironment.h"

#include <zlib.h>
#include <QFile>

#include <stdexcept>

namespace testpackage {
namespace {

const std::string MainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const std::string RelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

void Put16(QByteArray& out, uint32_t value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(QByteArray& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string Deflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::string Relationship(const std::string& id, const std::string& type,
                         const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + RelationshipNamespace + "/" + type +
           "\" Target=\"" + target + "\"/>";
}

std::string Relationships(const std::string& body) {
    return "<?xml version=\"1.0\"?><Relationships "
           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
           body + "</Relationships>";
}

QByteArray Zip(const Members& members, bool stored) {
    QByteArray out;
    QByteArray directory;
    for (const auto& [name, data] : members) {
        const std::string body = stored ? data : Deflate(data);
        const auto crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const auto offset = static_cast<uint32_t>(out.size());
        const uint16_t method = stored ? 0 : 8;
        Put32(out, 0x04034b50);
        Put16(out, 20);
        Put16(out, 0x0800);
        Put16(out, method);
        Put32(out, 0);
        Put32(out, crc);
        Put32(out, static_cast<uint32_t>(body.size()));
        Put32(out, static_cast<uint32_t>(data.size()));
        Put16(out, static_cast<uint32_t>(name.size()));
        Put16(out, 0);
        out.append(name.data(), static_cast<qsizetype>(name.size()));
        out.append(body.data(), static_cast<qsizetype>(body.size()));

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, 0x0800);
        Put16(directory, method);
        Put32(directory, 0);
        Put32(directory, crc);
        Put32(directory, static_cast<uint32_t>(body.size()));
        Put32(directory, static_cast<uint32_t>(data.size()));
        Put16(directory, static_cast<uint32_t>(name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory.append(name.data(), static_cast<qsizetype>(name.size()));
    }
    const auto directoryOffset = static_cast<uint32_t>(out.size());
    out.append(directory);
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(members.size()));
    Put16(out, static_cast<uint32_t>(members.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

QString WriteFile(const QString& fileName, const QByteArray& bytes) {
    const QString path = testsupport::ScratchDir() + u'/' + fileName;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write test package");
    }
    return path;
}

std::string Sheet(const std::string& sheetData, const std::string& before) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"" + MainNamespace +
           "\" xmlns:r=\"" + RelationshipNamespace + "\">" + before + "<sheetData>" + sheetData +
           "</sheetData></worksheet>";
}

Members Workbook(const std::string& sheetData, const std::string& sharedStrings,
                 const std::string& styles, const Members& extra) {
    std::string workbookRelationships = Relationship("rId1", "worksheet", "worksheets/sheet1.xml");
    Members members = {
        {"_rels/.rels", Relationships(Relationship("rId1", "officeDocument", "xl/workbook.xml"))},
        {"xl/workbook.xml", "<?xml version=\"1.0\"?><workbook xmlns=\"" + MainNamespace +
                                "\" xmlns:r=\"" + RelationshipNamespace +
                                "\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" "
                                "r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/worksheets/sheet1.xml", Sheet(sheetData)},
    };
    if (!sharedStrings.empty()) {
        workbookRelationships += Relationship("rId2", "sharedStrings", "sharedStrings.xml");
        members.push_back({"xl/sharedStrings.xml", "<?xml version=\"1.0\"?><sst xmlns=\"" +
                                                       MainNamespace + "\">" + sharedStrings +
                                                       "</sst>"});
    }
    if (!styles.empty()) {
        workbookRelationships += Relationship("rId3", "styles", "styles.xml");
        members.push_back({"xl/styles.xml", "<?xml version=\"1.0\"?><styleSheet xmlns=\"" +
                                                MainNamespace + "\">" + styles + "</styleSheet>"});
    }
    members.push_back({"xl/_rels/workbook.xml.rels", Relationships(workbookRelationships)});
    members.insert(members.end(), extra.begin(), extra.end());
    return members;
}

}  // namespace testpackage
