#include "heart_model.h"

#include <algorithm>
#include <cmath>

#include "heart_run_state.h"
#include "numtext.h"
#include "random_source.h"

namespace {

constexpr int contracture = 3550, arrest = 4300;
constexpr int drugRows = 8;

QString unknownText() { return QStringLiteral("Неизвестное"); }

// The lever beats at the rate the screen shows: one beat per 60000 ÷ rate ms; a heart at a
// rate of 0 does not beat.
int beatInterval(int rate) { return rate > 0 ? static_cast<int>(std::lround(60000.0 / rate)) : 0; }

}  // namespace

HeartModel::HeartModel(HeartRunState& run, RandomSource& random) : m_run(run), m_random(random) {
    druglist.resize(1);
    druglist[0].L_StART = 50;
    druglist[0].L_End = 80;
}

bool HeartModel::LoadDrugTable(QString* error, QStringList* answerNames) {
    QVector<HeartDrugRec> rows;
    if (!readHeartDrugs(&rows, error)) return false;
    // The examinations stand on the eight drugs: examination 1 numbers its unknowns 1 to 8,
    // examination 2 puts its unknown at the ninth place, examination 3 takes rows 1 and 6.
    if (rows.size() != drugRows) {
        *error = QStringLiteral("В таблице «heart_drug» файла данных «F_Heart.mdb» должно быть ровно %1 строк "
                                "(веществ), а в ней %2.")
                     .arg(drugRows)
                     .arg(rows.size());
        return false;
    }
    druglist.resize(1);
    druglist[0] = HeartDrugRec{};
    druglist[0].L_StART = 50;
    druglist[0].L_End = 80;
    answerNames->clear();
    const quint8 mode = m_run.Heart_Mode;
    if (mode == 4) {
        // Examination 3 works with adrenaline (the first row) and acetylcholine (the sixth).
        for (int row : {0, 5}) {
            HeartDrugRec d = rows[row];
            d.Dose = 2;
            druglist.push_back(d);
        }
        drugCount = 2;
        return true;
    }
    for (HeartDrugRec d : rows) {
        if (mode == 2) d.Dose = 0.1f;
        if (mode == 2 || mode == 3) answerNames->push_back(d.Name);
        druglist.push_back(d);
    }
    drugCount = rows.size();
    m_run.Heart_DrugCount = static_cast<quint8>(drugCount);
    return true;
}

void HeartModel::appendUnknown(int k) {
    HeartDrugRec d = druglist.value(k);
    d.Dose = 0.1f;
    druglist.push_back(d);
}

int HeartModel::chooseExam1Unknown() {
    // Every drug is handed out once, in random order: the draw is among those left, so it
    // always ends.
    QVector<int> left;
    for (int k = 1; k <= m_run.Heart_DrugCount && k <= 10; ++k)
        if (m_run.Heart_UnknownUsed[k] == 0) left << k;
    if (left.isEmpty())
        for (int k = 1; k <= m_run.Heart_DrugCount && k <= 10; ++k) left << k;
    if (left.isEmpty()) return 0;
    m_random.reseedFromClock();
    const int k = left[std::min<int>(left.size() - 1, static_cast<int>(m_random.uniform() * left.size()))];
    m_run.Heart_Exam1Drug = static_cast<quint8>(k);
    m_run.Heart_UnknownUsed[k] = static_cast<quint8>(std::min(255, m_run.Heart_UnknownUsed[k] + 1));
    m_run.Heart_UnknownNo = static_cast<quint8>(std::min(10, m_run.Heart_UnknownNo + 1));
    return k;
}

void HeartModel::startHeart() {
    m_random.reseedFromClock();
    prevkey = prevname = drugLabel = QStringLiteral("Нет");
    restnormalflag = 1;
    interact = kclbcacl = 0;
    blocked = 0;
    basalbase = static_cast<quint8>(std::floor(m_random.uniform() * 31 + 60));
    tickcount = 0;
    curdrug = 0;
    tracetop = druglist[0].L_StART;
    tracebottom = druglist[0].L_End;
    jitter = 4;
    drugrate = lastrate = 0;
    basalBox.clear();
    rateBox.clear();
    hrlevel = tonelevel = 14;
    leverInterval = beatInterval(basalbase);  // the basal-rate box is empty until the first rest cycle
    leverOn = true;
    leverGeometry(tracetop, tracebottom, &leverrest, &leverstroke);
}

void HeartModel::startRecorder(int width) {
    paperWidth = paperWidth0 = width;
    paperLeft = 0;
    scrolllimit = width;
    scrollunit = width / 4;
    scrolltick = 0;
    scrollstep = 4;
    scrollPositions = 0;
    gauge = 0;
}

void HeartModel::advance() {
    paperLeft -= 1;
    paperWidth = std::min(paperWidth + 1, 16383);
    m_ops.push_back(HeartOp::make(HeartOp::Advance));
}

void HeartModel::mark(int dx, int y, const QString& text, int size, bool bold, bool highlight) {
    HeartOp op = HeartOp::make(HeartOp::Mark);
    op.x = paperWidth - 10 + dx;
    op.y1 = y;
    op.text = text;
    op.pointSize = size;
    op.bold = bold;
    op.highlight = highlight;
    m_ops.push_back(op);
}

bool HeartModel::leverGeometry(int top, int bottom, int* rest, int* stroke) {
    static const int table[][4] = {{50, 80, 4250, 500}, {90, 40, 4450, 900}, {80, 44, 4300, 600},
                                   {85, 30, 4500, 1000}, {35, 36, 3600, 110}, {80, 60, 4250, 400},
                                   {69, 59, 4100, 200},  {84, 85, 4300, 70},  {80, 49, 4250, 600}};
    for (const auto& row : table)
        if (row[0] == top && row[1] == bottom) {
            *rest = row[2];
            *stroke = row[3];
            return true;
        }
    return false;
}

HeartModel::TickResult HeartModel::tick() {
    if (paperWidth >= 16383) return TickResult::PaperFull;
    advance();
    if (scrolltick > scrolllimit) {
        scrollPositions += scrollstep;
        scrollstep = 1;
        scrolllimit = scrollunit;
        scrolltick = 0;
    }
    ++scrolltick;
    if (tickcount == 40 && drugrate != 0) rateBox = QString::number(drugrate);
    if (gauge != 0) gauge = std::max(0.0, gauge - 1.25);
    if (tickcount == 75) EndDrugAction();
    ++tickcount;
    const int r = static_cast<int>(std::floor(m_random.uniform() * jitter + 1));
    stroke(tracetop + r, tracebottom + r);
    leverGeometry(tracetop, tracebottom, &leverrest, &leverstroke);
    return TickResult::Ticked;
}

void HeartModel::calciumOnset() {
    jitter = 2;
    advance();
    scrolltick += 4;
    stroke(74, 45);
    advance();
    stroke(55, 45);
    advance();
    stroke(45, 42);
    advance();
    stroke(42, 37);
    hearts(true);
    leverRun(false);
    leverMove(lastneedle, contracture);
}

void HeartModel::potassiumOnset() {
    jitter = 2;
    advance();
    scrolltick += 4;
    stroke(65, 84);
    advance();
    stroke(75, 86);
    advance();
    stroke(80, 85);
    advance();
    stroke(82, 85);
    leverRun(false);
}

void HeartModel::calciumRecovery() {
    scrolltick += 3;
    stroke(36, 54);
    advance();
    stroke(40, 60);
    advance();
    stroke(38, 56);
    advance();
    stroke(45, 70);
    leverRun(true);
}

void HeartModel::potassiumRecovery() {
    scrolltick += 3;
    stroke(84, 85);
    advance();
    stroke(81, 87);
    advance();
    stroke(75, 84);
    advance();
    stroke(65, 82);
    leverRun(true);
}

void HeartModel::arrestsDuringAction(const QString& key) {
    const QString p = prevkey.trimmed();
    if (p == QLatin1String("CaCl")) {
        if (key != QLatin1String("CaCl")) {
            calciumRecovery();
            if (kclbcacl == 1) kclbcacl = 0;
            else leverMove(contracture, lastneedle);
        } else {
            leverRun(false);
            if (kclbcacl == 1) {
                kclbcacl = 0;
                calciumOnset();
            }
        }
    } else if (p == QLatin1String("KCl")) {
        if (key == QLatin1String("KCl")) leverRun(false);
        else potassiumRecovery();
    } else if (key == QLatin1String("CaCl")) {
        calciumOnset();
    } else if (key == QLatin1String("KCl")) {
        leverMove(lastneedle, arrest);
        lastneedle = arrest;
        potassiumOnset();
    }
}

QString HeartModel::unitFor(int position) const {
    const quint8 mode = m_run.Heart_Mode;
    if (mode == 2) return QStringLiteral("мл");
    if (mode == 4) return position < 2 ? QStringLiteral("мкг") : QStringLiteral("мл");
    return position < 8 ? QStringLiteral("мкг") : QStringLiteral("мл");
}

QString HeartModel::drugLabelFor(int position) const {
    const quint8 mode = m_run.Heart_Mode;
    if (mode == 2) return QStringLiteral("Неизвестное ") + QString::number(m_run.Heart_UnknownNo);
    const bool known = mode == 4 ? position < 2 : position < 8;
    return known ? druglist.value(position + 1).Name : QStringLiteral("Неизвестное ");
}

QString HeartModel::markKeyFor(int position) const {
    const quint8 mode = m_run.Heart_Mode;
    const bool known = mode == 1 || (mode == 3 && position < 8) || (mode == 4 && position < 2);
    return known ? druglist.value(position + 1).key : QStringLiteral("Unk");
}

void HeartModel::recordRate(int position) {
    switch (m_run.Heart_Mode) {
        case 2:
            if (m_run.Heart_UnknownNo >= 1 && m_run.Heart_UnknownNo <= 10)
                m_run.Heart_Exam1Results[m_run.Heart_UnknownNo].rate = drugrate;
            break;
        case 3:
            // The log holds at most 255 lines; later injections are not logged.
            exam2LogFull = m_run.Heart_Exam2Count >= 255;
            if (!exam2LogFull) {
                ++m_run.Heart_Exam2Count;
                const HeartDrugRec& d = druglist[curdrug];
                m_run.Heart_Exam2Log.resize(m_run.Heart_Exam2Count + 1);
                m_run.Heart_Exam2Log[m_run.Heart_Exam2Count] = {
                    position >= 8 ? unknownText() : d.Name, d.tone, drugrate};
            }
            break;
        case 4:
            if (curdrug >= 1 && curdrug <= 3 && m_run.Heart_HeartNo < m_run.Heart_Exam3Rates.size())
                m_run.Heart_Exam3Rates[m_run.Heart_HeartNo][curdrug - 1] = drugrate;
            break;
        default:
            break;
    }
}

void HeartModel::inject(int position, const QString& listText) {
    Q_UNUSED(listText);
    drugrate = 0;
    rateBox.clear();
    drugLabel = drugLabelFor(position);
    curdrug = static_cast<quint8>(position + 1);
    const HeartDrugRec entry = druglist.value(curdrug);
    const QString key = entry.key.trimmed();

    // The heart's response.
    QChar ind = entry.hr_indicator;
    QChar tn = entry.tone;
    tickcount = 0;
    interact = 0;
    blocked = 0;
    quint8 top = entry.L_StART, bottom = entry.L_End;
    if (restnormalflag == 0) {
        interact = 1;
        mark(-25, 100, QStringLiteral("^"), 10, true, false);
        mark(-23, 102, QStringLiteral("|"), 10, true, false);
        mark(-38, 123, QStringLiteral("HR") + QString::number(lastrate), 8, false, false);
        if (m_run.Heart_Mode == 1) {
            mark(-10, 115, QStringLiteral("^"), 10, true, false);
            mark(-8, 117, QStringLiteral("|"), 10, true, false);
            mark(-11, 138, markKeyFor(position), 8, false, false);
        }
        arrestsDuringAction(key);
        const QString p = prevkey.trimmed();
        bool antagonised = false;
        if (p == QLatin1String("CaCl") && key == QLatin1String("KCl")) antagonised = true;
        else if (p == QLatin1String("KCl") && key == QLatin1String("CaCl")) antagonised = true, kclbcacl = 1;
        else if (p == QLatin1String("Atr") && key == QLatin1String("ACh")) antagonised = true;
        else if (p == QLatin1String("ACh") && key == QLatin1String("Atr")) antagonised = true;
        else if (p == QLatin1String("Prop") &&
                 (key == QLatin1String("Epi") || key == QLatin1String("NEpi") || key == QLatin1String("Iso")))
            antagonised = true;
        if (antagonised) {
            top = 50;
            bottom = 80;
            blocked = 1;
            ind = (p == QLatin1String("Prop") && key == QLatin1String("NEpi")) ? QChar(u'P') : QChar(u'N');
            tn = u'N';
        }
    } else {
        mark(-11, 15, QStringLiteral("|"), 10, true, true);
        mark(-12, 24, QStringLiteral("v"), 9, true, true);
        mark(-25, 5, QStringLiteral("BHR") + basalBox, 8, false, true);
        mark(-10, 115, QStringLiteral("^"), 10, true, true);
        mark(-8, 117, QStringLiteral("|"), 10, true, true);
        mark(-11, 138, markKeyFor(position), 8, false, true);
    }
    tracetop = top;
    tracebottom = bottom;
    restnormalflag = 0;
    gauge = 100;

    // The rate during the action, held in the range of a byte.
    const int B = static_cast<int>(numtext::numberReading(basalBox));
    const int d = static_cast<int>(std::floor((entry.hr_END - entry.hr_START + 1) * m_random.uniform() + entry.hr_START));
    int rate = B;
    if (ind == u'I') {
        rate = B + d;
        hrlevel = 8;
    } else if (ind == u'D') {
        rate = B - d;
        hrlevel = 18;
    } else if (ind == u'O') {
        rate = 1;
        hrlevel = 14;
    } else if (ind == u'P') {
        rate = lastrate;
        // The rate stays where the previous drug had taken it; the indicator shows which way.
        hrlevel = lastrate > B ? 8 : lastrate < B ? 18 : 14;
    } else {
        hrlevel = 14;
    }
    drugrate = static_cast<quint8>(std::clamp(rate, 0, 255));
    leverInterval = ind == u'O' ? 0 : beatInterval(drugrate);  // arrest: no beat
    if (ind == u'O') rateBox = QStringLiteral("1");
    lastrate = drugrate;

    recordRate(position);

    tonelevel = tn == u'I' ? 8 : tn == u'D' ? 18 : 14;
    m_ops.push_back(HeartOp::make(HeartOp::Indicators, hrlevel, tonelevel));
    jitter = 4;

    if (interact == 0) {
        if (key == QLatin1String("CaCl")) {
            calciumOnset();
        } else if (key == QLatin1String("KCl")) {
            potassiumOnset();
            hearts(false);
        }
    }
    if (leverOn) leverRun(true);  // at the rate of this action
    prevkey = entry.key;
    prevname = m_run.Heart_Mode == 2 ? QStringLiteral("Неизвестное No. ") + QString::number(m_run.Heart_UnknownNo)
                                     : drugLabel;
    leverGeometry(tracetop, tracebottom, &leverrest, &leverstroke);
}

void HeartModel::EndDrugAction() {
    if (drugLabel != QStringLiteral("Нет")) {
        restnormalflag = 1;
        mark(-45, 100, QStringLiteral("^"), 10, true, false);
        mark(-43, 102, QStringLiteral("|"), 10, true, false);
        mark(-50, 123, QStringLiteral("HR") + rateBox, 8, false, false);
        if (blocked == 0) {
            const QString key = prevkey.trimmed();
            if (key == QLatin1String("CaCl")) {
                calciumRecovery();
                leverMove(contracture, 0);
                lastneedle = 0;
            } else if (key == QLatin1String("KCl")) {
                potassiumRecovery();
            }
        }
    }
    interact = 0;
    hrlevel = tonelevel = 14;
    m_ops.push_back(HeartOp::make(HeartOp::Indicators, hrlevel, tonelevel));
    int basal = basalbase;
    if (m_random.uniform() > 0.749) ++basal;
    if (m_random.uniform() < 0.249) --basal;
    basalBox = QString::number(basal);
    jitter = 4;
    tickcount = 0;
    curdrug = 0;
    tracetop = druglist[0].L_StART;
    tracebottom = druglist[0].L_End;
    drugLabel = QStringLiteral("Нет");
    leverInterval = beatInterval(basal);
    leverRun(true);
    m_ops.push_back(HeartOp::make(HeartOp::RestCycle));
}

std::vector<HeartOp> HeartModel::takeOps() { return std::exchange(m_ops, {}); }
