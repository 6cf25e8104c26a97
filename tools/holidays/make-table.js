// make-table.js: writes engine/HolidayTable.inc, the built-in official rest
// and work days (休/班), to standard output.
//
//   node tools/holidays/make-table.js > engine/HolidayTable.inc
//
// Two data sets published on npm carry the State Council's yearly
// arrangements: chinese-days and lunar-javascript's HolidayUtil. They are
// kept by different people; where they disagree, the notice of that year
// decides, and every such day is settled in `resolved` below (the run fails
// on a disagreement that is not). The versions are pinned in package.json
// (`npm ci` in this folder, which tools/install-deps.sh runs).
//
// 休 marks every day of an announced holiday period, weekends inside it
// too; 班 marks every weekend day a notice makes a working day.
'use strict';

const path = require('path');
const chineseDays = require(path.join(__dirname, 'node_modules/chinese-days/dist/chinese-days.json'));
const { HolidayUtil } = require(path.join(__dirname, 'node_modules/lunar-javascript'));

const FIRST_YEAR = 2004;
const LAST_YEAR = 2026;

// The disagreements, each settled by the words of that year's notice.
// mark: '休', '班' or '' (no mark); name: the holiday it belongs to.
const resolved = {
    '2005-12-31': { mark: '班', name: '元旦', notice: '2006: 元旦 1月1日—3日放假, 12月31日(星期六)上班' },
    '2011-06-05': { mark: '休', name: '端午节', notice: '2011: 端午节 6月4日至6日放假公休, 共3天' },
    '2012-05-02': { mark: '', name: '', notice: '2012: 劳动节 4月29日至5月1日放假调休, 4月28日(星期六)上班; 5月2日 is an ordinary Wednesday' },
    '2012-06-23': { mark: '休', name: '端午节', notice: '2012: 端午节 6月22日至24日放假公休, 共3天' },
    '2012-10-08': { mark: '', name: '', notice: '2012: 中秋节、国庆节 9月30日至10月7日放假调休, 9月29日(星期六)上班; 10月8日 is an ordinary Monday' },
    '2013-04-07': { mark: '班', name: '清明节', notice: '2013: 清明节 4月4日至6日放假调休, 4月7日(星期日)上班' },
    '2013-10-12': { mark: '班', name: '国庆节', notice: '2013: 国庆节 10月1日至7日放假调休, 9月29日(星期日)、10月12日(星期六)上班' },
    '2014-05-31': { mark: '休', name: '端午节', notice: '2014: 端午节 6月2日放假, 与周末连休' },
    '2014-06-01': { mark: '休', name: '端午节', notice: '2014: 端午节 6月2日放假, 与周末连休' },
    '2014-09-06': { mark: '休', name: '中秋节', notice: '2014: 中秋节 9月8日放假, 与周末连休' },
    '2014-09-07': { mark: '休', name: '中秋节', notice: '2014: 中秋节 9月8日放假, 与周末连休' },
    '2015-04-04': { mark: '', name: '', notice: '2015: 清明节 4月5日放假, 4月6日(星期一)补休; 4月4日 lies before the period' },
    '2015-05-02': { mark: '休', name: '劳动节', notice: '2015: 劳动节 5月1日放假, 与周末连休' },
    '2015-05-03': { mark: '休', name: '劳动节', notice: '2015: 劳动节 5月1日放假, 与周末连休' },
    '2015-06-21': { mark: '休', name: '端午节', notice: '2015: 端午节 6月20日放假, 6月22日(星期一)补休; 6月21日 lies inside the period' },
    '2015-09-05': { mark: '休', name: '抗战胜利纪念日', notice: '2015: 抗战胜利70周年纪念日 9月3日至5日调休放假, 共3天, 9月6日(星期日)上班' },
    '2015-09-26': { mark: '', name: '', notice: '2015: 中秋节 9月27日放假; 9月26日 is an ordinary Saturday' },
    '2016-01-02': { mark: '休', name: '元旦', notice: '2016: 元旦 1月1日放假, 与周末连休' },
    '2016-01-03': { mark: '休', name: '元旦', notice: '2016: 元旦 1月1日放假, 与周末连休' },
    '2016-04-02': { mark: '休', name: '清明节', notice: '2016: 清明节 4月4日放假, 与周末连休' },
    '2016-04-03': { mark: '休', name: '清明节', notice: '2016: 清明节 4月4日放假, 与周末连休' },
    '2016-04-30': { mark: '', name: '', notice: '2016: 劳动节 5月1日放假, 5月2日(星期一)补休; 4月30日 lies before the period' },
    '2016-12-31': { mark: '', name: '', notice: '2017: 元旦 1月1日放假, 1月2日(星期一)补休; 12月31日 lies before the period' },
    '2017-04-29': { mark: '休', name: '劳动节', notice: '2017: 劳动节 5月1日放假, 与周末连休' },
    '2017-04-30': { mark: '休', name: '劳动节', notice: '2017: 劳动节 5月1日放假, 与周末连休' },
    '2017-12-30': { mark: '休', name: '元旦', notice: '2018: 元旦 1月1日放假, 与周末连休' },
    '2017-12-31': { mark: '休', name: '元旦', notice: '2018: 元旦 1月1日放假, 与周末连休' },
    '2018-06-16': { mark: '休', name: '端午节', notice: '2018: 端午节 6月18日放假, 与周末连休' },
    '2018-06-17': { mark: '休', name: '端午节', notice: '2018: 端午节 6月18日放假, 与周末连休' },
    '2018-09-22': { mark: '休', name: '中秋节', notice: '2018: 中秋节 9月24日放假, 与周末连休' },
    '2018-09-23': { mark: '休', name: '中秋节', notice: '2018: 中秋节 9月24日放假, 与周末连休' },
    '2023-12-30': { mark: '休', name: '元旦', notice: '2024: 元旦 1月1日放假, 与周末连休' },
    '2023-12-31': { mark: '休', name: '元旦', notice: '2024: 元旦 1月1日放假, 与周末连休' },
    '2024-06-08': { mark: '休', name: '端午节', notice: '2024: 端午节 6月10日放假, 与周末连休' },
    '2024-06-09': { mark: '休', name: '端午节', notice: '2024: 端午节 6月10日放假, 与周末连休' },
};

// One name per holiday, whatever each data set calls it.
const names = {
    '元旦': '元旦', '元旦节': '元旦', '春节': '春节', '清明': '清明节', '清明节': '清明节', '劳动节': '劳动节',
    '端午': '端午节', '端午节': '端午节', '中秋': '中秋节', '中秋节': '中秋节', '国庆节': '国庆节',
    '国庆中秋': '国庆节', '中秋国庆': '国庆节', '抗战胜利日': '抗战胜利纪念日',
    '中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日': '抗战胜利纪念日',
};
function canonical(name) {
    if (!(name in names)) throw new Error(`unknown holiday name ${name}`);
    return names[name];
}

function inRange(date) {
    const year = Number(date.slice(0, 4));
    return year >= FIRST_YEAR && year <= LAST_YEAR;
}

// date → { mark, name } from each data set.
function fromChineseDays() {
    const days = new Map();
    for (const [date, value] of Object.entries(chineseDays.holidays)) days.set(date, { mark: '休', name: canonical(value.split(',')[1]) });
    for (const [date, value] of Object.entries(chineseDays.workdays)) {
        if (days.has(date)) throw new Error(`chinese-days: ${date} is both a holiday and a working day`);
        days.set(date, { mark: '班', name: canonical(value.split(',')[1]) });
    }
    return days;
}

function fromHolidayUtil() {
    const days = new Map();
    // A notice of one year may move a day of the year before (30 and 31 December).
    for (let year = FIRST_YEAR; year <= LAST_YEAR + 1; ++year)
        for (const holiday of HolidayUtil.getHolidays(year))
            days.set(holiday.getDay(), { mark: holiday.isWork() ? '班' : '休', name: canonical(holiday.getName()) });
    return days;
}

function weekday(date) {
    return new Date(`${date}T00:00:00Z`).getUTCDay();
}

function main() {
    const a = fromChineseDays(), b = fromHolidayUtil();
    const dates = [...new Set([...a.keys(), ...b.keys()])].filter(inRange).sort();
    const rows = [];
    const used = new Set();
    for (const date of dates) {
        const x = a.get(date), y = b.get(date);
        let day;
        if (x && y && x.mark === y.mark) {
            day = x;  // the two agree (chinese-days names it)
            if (date in resolved) throw new Error(`${date} is settled but the data sets agree`);
        } else {
            if (!(date in resolved)) {
                throw new Error(`${date}: chinese-days ${x ? x.mark : 'none'}, HolidayUtil ${y ? y.mark : 'none'}; ` +
                                'settle it from the notice in `resolved`');
            }
            used.add(date);
            day = resolved[date];
        }
        if (day.mark === '') continue;
        const isWeekend = weekday(date) === 0 || weekday(date) === 6;
        if (day.mark === '班' && !isWeekend) throw new Error(`${date}: 班 on a weekday`);
        rows.push({ date, mark: day.mark, name: day.name });
    }
    for (const date of Object.keys(resolved))
        if (!used.has(date)) throw new Error(`${date} is settled but no longer disputed`);

    const out = [];
    out.push('// Made by `node tools/holidays/make-table.js` from chinese-days and');
    out.push("// lunar-javascript's HolidayUtil (versions in tools/holidays/package.json);");
    out.push('// do not edit. The official rest (休, REST) and work (班, WORK) days of the');
    out.push(`// years ${FIRST_YEAR} to ${LAST_YEAR}, by date; ${used.size} days where the two disagree are`);
    out.push("// settled from that year's State Council notice (README lists them).");
    for (const row of rows) {
        const [y, m, d] = row.date.split('-');
        out.push(`{${y}, ${Number(m)}, ${Number(d)}, ${row.mark === '休' ? 'REST' : 'WORK'}, "${row.name}"},`);
    }
    process.stdout.write(out.join('\n') + '\n');
}

main();
