#include "heart_model.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "heart_run_state.h"
#include "numtext.h"
#include "random_source.h"

namespace {

constexpr int contracture = 3550, arrest = 4300;

// Examination 3 works with adrenaline (the table's first row) and acetylcholine (its sixth):
// list positions 0 and 1, the unknown at 2.
constexpr int exam3Rows[] = {0, 5};
constexpr int exam3Drugs = std::size(exam3Rows);

QString unknownText() {
    return QStringLiteral("Неизвестное");
}

// The lever beats at the rate the screen shows: one beat per 60000 ÷ rate ms; a heart at a
// rate of 0 does not beat.
int beatInterval(int rate) {
    return rate > 0 ? static_cast<int>(std::lround(60000.0 / rate)) : 0;
}

}  // namespace

HeartModel::HeartModel(HeartRunState& run, RandomSource& random) : m_run(run), m_random(random) {
    m_druglist.resize(1);
    m_druglist[0].L_StART = 50;
    m_druglist[0].L_End = 80;
}

bool HeartModel::LoadDrugTable(QString* error) {
    QVector<HeartDrugRec> rows;
    if (!readHeartDrugs(&rows, error)) return false;
    DrugNames names;
    if (!names.load(QStringLiteral("F_Heart_names.txt"))) {
        *error = names.error();
        return false;
    }
    m_run.setDrugNames(names);
    return setUpStage(rows, error);
}

bool HeartModel::setUpStage(const QVector<HeartDrugRec>& rows, QString* error) {
    if (rows.size() != heartDrugCount) {
        *error = QStringLiteral(
                     "В таблице «heart_drug» файла данных «F_Heart.mdb» должно быть ровно %1 строк "
                     "(веществ), а в ней %2.")
                     .arg(heartDrugCount)
                     .arg(rows.size());
        return false;
    }
    m_druglist.resize(1);
    m_druglist[0] = HeartDrugRec{};
    m_druglist[0].L_StART = 50;
    m_druglist[0].L_End = 80;
    const HeartMode mode = m_run.Heart_Mode();
    QStringList answerNames;
    if (mode == HeartMode::Exam3) {
        for (int row : exam3Rows) {
            HeartDrugRec d = rows[row];
            d.Dose = 2;
            m_druglist.push_back(d);
        }
        m_drugCount = exam3Drugs;
    } else {
        for (HeartDrugRec d : rows) {
            if (mode == HeartMode::Exam1) d.Dose = 0.1f;
            if (mode == HeartMode::Exam1 || mode == HeartMode::Exam2) answerNames.push_back(d.Name);
            m_druglist.push_back(d);
        }
        m_drugCount = rows.size();
    }
    m_run.stageSetUp(rows.size(), answerNames);

    // The examination's unknown: examination 1 hands out the table's drugs one by one,
    // examinations 2 and 3 copy one of their drugs at random.
    if (mode == HeartMode::Exam1) {
        chooseExam1Unknown();
    } else if (mode == HeartMode::Exam2 || mode == HeartMode::Exam3) {
        const int k = static_cast<int>(std::floor(m_random.uniform() * m_drugCount + 1));
        appendUnknown(k);
        m_run.giveExamUnknown(k, m_druglist.value(k).Name);
    }
    m_run.firstHeart();
    m_lastneedle = 0;
    return true;
}

void HeartModel::appendUnknown(int k) {
    HeartDrugRec d = m_druglist.value(k);
    d.Dose = 0.1f;
    m_druglist.push_back(d);
}

int HeartModel::chooseExam1Unknown() {
    // Every drug is handed out once, in random order: the draw is among those left, so it
    // always ends.
    QVector<int> left;
    for (int k = 1; k <= m_run.Heart_DrugCount(); ++k)
        if (m_run.Heart_UnknownUsed()[k] == 0) left << k;
    if (left.isEmpty())
        for (int k = 1; k <= m_run.Heart_DrugCount(); ++k) left << k;
    if (left.isEmpty()) return 0;
    m_random.reseedFromClock();
    const int k = left[std::min<int>(left.size() - 1, static_cast<int>(m_random.uniform() * left.size()))];
    m_run.handOutExam1Unknown(k, m_druglist.value(k));
    return k;
}

void HeartModel::startHeart() {
    m_random.reseedFromClock();
    m_prevkey = m_prevname = m_drugLabel = noDrug();
    m_restnormalflag = true;
    m_interact = m_kclbcacl = false;
    m_blocked = false;
    m_basalbase = static_cast<quint8>(std::floor(m_random.uniform() * 31 + 60));
    m_tickcount = 0;
    m_curdrug = 0;
    m_tracetop = m_druglist[0].L_StART;
    m_tracebottom = m_druglist[0].L_End;
    m_jitter = 4;
    m_drugrate = m_lastrate = 0;
    m_basalBox.clear();
    m_rateBox.clear();
    m_hrlevel = m_tonelevel = 14;
    m_leverInterval = beatInterval(m_basalbase);  // the basal-rate box is empty until the first rest cycle
    m_leverOn = true;
    leverGeometry(m_tracetop, m_tracebottom, &m_leverrest, &m_leverstroke);
}

void HeartModel::startRecorder(int width) {
    m_paper.start(width);
    m_gauge = 0;
}

void HeartModel::advance() {
    m_paper.advance(1);
    m_ops.push_back(HeartOp::make(HeartOp::Advance));
}

void HeartModel::mark(int dx, int y, const QString& text, int size, bool bold, bool highlight) {
    HeartOp op = HeartOp::make(HeartOp::Mark);
    op.x = m_paper.width() - 10 + dx;
    op.y1 = y;
    op.text = text;
    op.pointSize = size;
    op.bold = bold;
    op.highlight = highlight;
    m_ops.push_back(op);
}

bool HeartModel::leverGeometry(int top, int bottom, int* rest, int* stroke) {
    static const int table[][4] = {{50, 80, 4250, 500},  {90, 40, 4450, 900}, {80, 44, 4300, 600},
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
    if (m_paper.full()) return TickResult::PaperFull;
    advance();
    m_paper.widen();
    m_paper.count(1);
    if (m_tickcount == 40 && m_drugrate != 0) m_rateBox = QString::number(m_drugrate);
    if (m_gauge != 0) m_gauge = std::max(0.0, m_gauge - 1.25);
    if (m_tickcount == 75) EndDrugAction();
    ++m_tickcount;
    const int r = static_cast<int>(std::floor(m_random.uniform() * m_jitter + 1));
    stroke(m_tracetop + r, m_tracebottom + r);
    leverGeometry(m_tracetop, m_tracebottom, &m_leverrest, &m_leverstroke);
    return TickResult::Ticked;
}

void HeartModel::calciumOnset() {
    m_jitter = 2;
    advance();
    m_paper.count(4);
    stroke(74, 45);
    advance();
    stroke(55, 45);
    advance();
    stroke(45, 42);
    advance();
    stroke(42, 37);
    hearts(true);
    leverRun(false);
    leverMove(m_lastneedle, contracture);
}

void HeartModel::potassiumOnset() {
    m_jitter = 2;
    advance();
    m_paper.count(4);
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
    m_paper.count(3);
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
    m_paper.count(3);
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
    const QString p = m_prevkey.trimmed();
    if (p == QLatin1String("CaCl")) {
        if (key != QLatin1String("CaCl")) {
            calciumRecovery();
            if (m_kclbcacl)
                m_kclbcacl = false;
            else
                leverMove(contracture, m_lastneedle);
        } else {
            leverRun(false);
            if (m_kclbcacl) {
                m_kclbcacl = false;
                calciumOnset();
            }
        }
    } else if (p == QLatin1String("KCl")) {
        if (key == QLatin1String("KCl"))
            leverRun(false);
        else
            potassiumRecovery();
    } else if (key == QLatin1String("CaCl")) {
        calciumOnset();
    } else if (key == QLatin1String("KCl")) {
        leverMove(m_lastneedle, arrest);
        m_lastneedle = arrest;
        potassiumOnset();
    }
}

QString HeartModel::unitFor(int position) const {
    switch (m_run.Heart_Mode()) {
        case HeartMode::Exam1:
            return QStringLiteral("мл");
        case HeartMode::Exam3:
            return position < exam3Drugs ? QStringLiteral("мкг") : QStringLiteral("мл");
        default:
            return position < heartDrugCount ? QStringLiteral("мкг") : QStringLiteral("мл");
    }
}

QString HeartModel::drugLabelFor(int position) const {
    const HeartMode mode = m_run.Heart_Mode();
    if (mode == HeartMode::Exam1) return QStringLiteral("Неизвестное ") + QString::number(m_run.Heart_UnknownNo());
    const bool known = mode == HeartMode::Exam3 ? position < exam3Drugs : position < heartDrugCount;
    return known ? m_druglist.value(position + 1).Name : QStringLiteral("Неизвестное ");
}

QString HeartModel::markKeyFor(int position) const {
    const HeartMode mode = m_run.Heart_Mode();
    const bool known = mode == HeartMode::Tutorial || (mode == HeartMode::Exam2 && position < heartDrugCount) ||
                       (mode == HeartMode::Exam3 && position < exam3Drugs);
    return known ? m_druglist.value(position + 1).key : QStringLiteral("Unk");
}

void HeartModel::recordRate(int position) {
    switch (m_run.Heart_Mode()) {
        case HeartMode::Exam1:
            m_run.recordExam1Rate(m_drugrate);
            break;
        case HeartMode::Exam2: {
            const HeartDrugRec& d = m_druglist[m_curdrug];
            m_exam2LogFull =
                !m_run.logExam2(position >= heartDrugCount ? unknownText() : d.Name, d.toneLetter, m_drugrate);
            break;
        }
        case HeartMode::Exam3:
            m_run.recordExam3Rate(m_curdrug, m_drugrate);
            break;
        default:
            break;
    }
}

void HeartModel::inject(int position) {
    m_drugrate = 0;
    m_rateBox.clear();
    m_drugLabel = drugLabelFor(position);
    m_curdrug = static_cast<quint8>(position + 1);
    const HeartDrugRec entry = m_druglist.value(m_curdrug);
    const QString key = entry.key.trimmed();

    // The heart's response.
    HeartRateChange ind = entry.hr_indicator;
    HeartTone tn = entry.tone;
    m_tickcount = 0;
    m_interact = false;
    m_blocked = false;
    quint8 top = entry.L_StART, bottom = entry.L_End;
    if (!m_restnormalflag) {
        m_interact = true;
        mark(-25, 100, QStringLiteral("^"), 10, true, false);
        mark(-23, 102, QStringLiteral("|"), 10, true, false);
        mark(-38, 123, QStringLiteral("HR") + QString::number(m_lastrate), 8, false, false);
        if (m_run.Heart_Mode() == HeartMode::Tutorial) {
            mark(-10, 115, QStringLiteral("^"), 10, true, false);
            mark(-8, 117, QStringLiteral("|"), 10, true, false);
            mark(-11, 138, markKeyFor(position), 8, false, false);
        }
        arrestsDuringAction(key);
        const QString p = m_prevkey.trimmed();
        bool antagonised = false;
        if (p == QLatin1String("CaCl") && key == QLatin1String("KCl"))
            antagonised = true;
        else if (p == QLatin1String("KCl") && key == QLatin1String("CaCl"))
            antagonised = true, m_kclbcacl = true;
        else if (p == QLatin1String("Atr") && key == QLatin1String("ACh"))
            antagonised = true;
        else if (p == QLatin1String("ACh") && key == QLatin1String("Atr"))
            antagonised = true;
        else if (p == QLatin1String("Prop") &&
                 (key == QLatin1String("Epi") || key == QLatin1String("NEpi") || key == QLatin1String("Iso")))
            antagonised = true;
        if (antagonised) {
            top = 50;
            bottom = 80;
            m_blocked = true;
            ind = (p == QLatin1String("Prop") && key == QLatin1String("NEpi")) ? HeartRateChange::Held
                                                                               : HeartRateChange::None;
            tn = HeartTone::Unchanged;
        }
    } else {
        mark(-11, 15, QStringLiteral("|"), 10, true, true);
        mark(-12, 24, QStringLiteral("v"), 9, true, true);
        mark(-25, 5, QStringLiteral("BHR") + m_basalBox, 8, false, true);
        mark(-10, 115, QStringLiteral("^"), 10, true, true);
        mark(-8, 117, QStringLiteral("|"), 10, true, true);
        mark(-11, 138, markKeyFor(position), 8, false, true);
    }
    m_tracetop = top;
    m_tracebottom = bottom;
    m_restnormalflag = false;
    m_gauge = 100;

    // The rate during the action, held in the range of a byte.
    const int B = static_cast<int>(numtext::numberReading(m_basalBox));
    const int d =
        static_cast<int>(std::floor((entry.hr_END - entry.hr_START + 1) * m_random.uniform() + entry.hr_START));
    int rate = B;
    switch (ind) {
        case HeartRateChange::Increase:
            rate = B + d;
            m_hrlevel = 8;
            break;
        case HeartRateChange::Decrease:
            rate = B - d;
            m_hrlevel = 18;
            break;
        case HeartRateChange::Arrest:
            rate = 1;
            m_hrlevel = 14;
            break;
        case HeartRateChange::Held:
            rate = m_lastrate;
            // The rate stays where the previous drug had taken it; the indicator shows which way.
            m_hrlevel = m_lastrate > B ? 8 : m_lastrate < B ? 18 : 14;
            break;
        case HeartRateChange::None:
            m_hrlevel = 14;
            break;
    }
    const bool arrested = ind == HeartRateChange::Arrest;
    m_drugrate = static_cast<quint8>(std::clamp(rate, 0, 255));
    m_leverInterval = arrested ? 0 : beatInterval(m_drugrate);  // arrest: no beat
    if (arrested) m_rateBox = QStringLiteral("1");
    m_lastrate = m_drugrate;

    recordRate(position);

    m_tonelevel = tn == HeartTone::Raised ? 8 : tn == HeartTone::Lowered ? 18 : 14;
    m_ops.push_back(HeartOp::make(HeartOp::Indicators, m_hrlevel, m_tonelevel));
    m_jitter = 4;

    if (!m_interact) {
        if (key == QLatin1String("CaCl")) {
            calciumOnset();
        } else if (key == QLatin1String("KCl")) {
            potassiumOnset();
            hearts(false);
        }
    }
    if (m_leverOn) leverRun(true);  // at the rate of this action
    m_prevkey = entry.key;
    m_prevname = m_run.Heart_Mode() == HeartMode::Exam1
                     ? QStringLiteral("Неизвестное No. ") + QString::number(m_run.Heart_UnknownNo())
                     : m_drugLabel;
    leverGeometry(m_tracetop, m_tracebottom, &m_leverrest, &m_leverstroke);
}

void HeartModel::EndDrugAction() {
    if (m_drugLabel != noDrug()) {
        m_restnormalflag = true;
        mark(-45, 100, QStringLiteral("^"), 10, true, false);
        mark(-43, 102, QStringLiteral("|"), 10, true, false);
        mark(-50, 123, QStringLiteral("HR") + m_rateBox, 8, false, false);
        if (!m_blocked) {
            const QString key = m_prevkey.trimmed();
            if (key == QLatin1String("CaCl")) {
                calciumRecovery();
                leverMove(contracture, 0);
                m_lastneedle = 0;
            } else if (key == QLatin1String("KCl")) {
                potassiumRecovery();
            }
        }
    }
    m_interact = false;
    m_hrlevel = m_tonelevel = 14;
    m_ops.push_back(HeartOp::make(HeartOp::Indicators, m_hrlevel, m_tonelevel));
    int basal = m_basalbase;
    if (m_random.uniform() > 0.749) ++basal;
    if (m_random.uniform() < 0.249) --basal;
    m_basalBox = QString::number(basal);
    m_jitter = 4;
    m_tickcount = 0;
    m_curdrug = 0;
    m_tracetop = m_druglist[0].L_StART;
    m_tracebottom = m_druglist[0].L_End;
    m_drugLabel = noDrug();
    m_leverInterval = beatInterval(basal);
    leverRun(true);
    m_ops.push_back(HeartOp::make(HeartOp::RestCycle));
}

std::vector<HeartOp> HeartModel::takeOps() {
    return std::exchange(m_ops, {});
}
